#pragma once
// A real dongle on the USB, reached through libusb: the device port the bus
// model plugs in, exactly like the virtual dongle. Every transfer is
// submitted with libusb's asynchronous calls and completes on the backend's
// one event thread; the synchronous ones (control, bulk OUT) wait for their
// completion with a limit. Only this file and the backend see libusb.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "dongle_driver/wdm/usb_device_port.h"

struct libusb_device_handle;
struct libusb_transfer;

namespace kirva {

class LibusbPort : public wdm::usb::UsbDevicePort {
public:
    // Called (from the event thread) when a transfer finds the device gone.
    using GoneHandler = std::function<void()>;

    // Takes over an open handle whose interface 0 is claimed.
    LibusbPort(libusb_device_handle* handle, GoneHandler gone);
    ~LibusbPort() override;

    std::vector<std::uint8_t> deviceDescriptor() override;
    std::vector<std::uint8_t> configurationDescriptor() override;
    wdm::usb::UsbdStatus setConfiguration(std::uint8_t value) override;
    wdm::usb::UsbdStatus controlTransfer(const wdm::usb::ControlSetup& setup, std::span<std::uint8_t> data,
                                         std::size_t& transferred) override;
    wdm::usb::UsbdStatus bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data) override;
    void bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> buffer, BulkInCompletion done) override;
    void abortPipe(std::uint8_t endpoint) override;

    libusb_device_handle* handle() const { return m_handle; }
    bool gone() const { return m_gone.load(); }

    // Limit of one control or bulk OUT transfer.
    static constexpr unsigned kTransferTimeoutMs = 2000;

private:
    struct InRead;
    static void OnInDone(libusb_transfer* transfer);
    wdm::usb::UsbdStatus runSync(libusb_transfer* transfer, std::size_t& transferred);
    void markGone();

    libusb_device_handle* m_handle;
    GoneHandler m_goneHandler;
    std::atomic<bool> m_gone{false};
    std::atomic<bool> m_configured{false};

    std::mutex m_mutex;
    std::condition_variable m_readsChanged;
    std::set<InRead*> m_reads;  // bulk IN reads in flight
};

// The model's status for a libusb transfer status (LIBUSB_TRANSFER_*).
wdm::usb::UsbdStatus UsbdStatusForTransfer(int transferStatus);
// The same for an error code of a libusb call (LIBUSB_ERROR_*).
wdm::usb::UsbdStatus UsbdStatusForError(int error);

}  // namespace kirva
