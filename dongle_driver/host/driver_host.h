#pragma once
// Runs the dongle driver over a USB bus: loads it, plugs bus devices in and
// out through the plug-and-play model and opens its named device for
// programs. Used by the driver host program, the benchmarks and the tests.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <span>
#include <string_view>
#include <vector>

#include "dongle_driver/driver/driver_trace.h"
#include "dongle_driver/wdm/driver_object.h"
#include "dongle_driver/wdm/io_manager.h"
#include "dongle_driver/wdm/pnp_manager.h"
#include "dongle_driver/wdm/usb_bus.h"

namespace kirva {

class HostFile;

class DriverHost {
public:
    DriverHost();
    ~DriverHost();
    DriverHost(const DriverHost&) = delete;
    DriverHost& operator=(const DriverHost&) = delete;

    // Driver entry; Success once loaded.
    wdm::Status load();
    DriverTrace& trace();
    wdm::IoManager& io() { return m_io; }
    wdm::usb::UsbBus& bus() { return m_bus; }
    wdm::PnpManager& pnp() { return m_pnp; }

    // A device arrives: physical device, add-device, start. Only one dongle
    // is served at a time.
    wdm::Status plugIn(std::shared_ptr<wdm::usb::UsbDevicePort> port);
    // Adds the device without starting it (start() later).
    wdm::Status plugInStopped(std::shared_ptr<wdm::usb::UsbDevicePort> port);
    wdm::Status start();
    // The dongle is pulled: the bus fails its transfers, then surprise
    // removal and removal.
    void pullOut();
    // Orderly removal, or the first half of it.
    wdm::Status removeOrderly();
    wdm::Status queryRemove();
    wdm::Status cancelRemove();
    bool devicePresent() const;
    wdm::DeviceObject* functionDevice() const;

    // Opens the device by path; nullptr with the status when it fails.
    std::unique_ptr<HostFile> open(std::string_view path, wdm::Status& status);

private:
    friend class HostFile;
    // Sends a file request to the device, or fails it when the device is gone.
    wdm::Status send(wdm::IoRequest& request);
    void finishRemoval();

    wdm::IoManager m_io;
    wdm::usb::UsbBus m_bus{m_io};
    wdm::PnpManager m_pnp{m_io};
    wdm::DriverObject m_driver{"\\Driver\\KIRVA_UDX"};
    std::shared_ptr<wdm::usb::UsbDevicePort> m_port;
    wdm::DeviceObject* m_physical = nullptr;
    // Held shared while a request enters the driver, exclusively while the
    // device object is deleted.
    mutable std::shared_mutex m_gate;
    wdm::DeviceObject* m_device = nullptr;
    std::uint64_t m_nextFileId = 1;
    std::mutex m_pnpMutex;
};

// One open handle of the device.
class HostFile {
public:
    ~HostFile();
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;

    wdm::Status write(std::span<const std::uint8_t> frame);
    wdm::Status control(std::uint32_t code, std::span<const std::uint8_t> input, std::size_t outputSize,
                        std::vector<std::uint8_t>& output);
    wdm::Status read(std::size_t length);
    // Cleanup and close; later calls fail. Called by the destructor.
    void close();
    std::uint64_t id() const { return m_id; }

private:
    friend class DriverHost;
    HostFile(DriverHost& host, std::uint64_t id) : m_host(host), m_id(id) {}

    DriverHost& m_host;
    const std::uint64_t m_id;
    bool m_open = true;
};

}  // namespace kirva
