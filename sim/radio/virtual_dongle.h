#pragma once
// The virtual USB radio dongle: a device on the virtual USB bus with
// configurable descriptors, the vendor requests of the real dongle (register
// file, channel, own address) and a radio that sends bulk OUT frames into a
// RadioMedium and hands the modules' reply frames to queued bulk IN reads.
// Replies travel on the dongle's own delivery thread, a little later, as
// they would over the air.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "dongle_driver/interface/dongle_interface.h"
#include "dongle_driver/wdm/usb_descriptors.h"
#include "dongle_driver/wdm/usb_device_port.h"
#include "sim/radio/radio_medium.h"

namespace sim::radio {

struct DongleConfig {
    kirva::RadioAddress ownAddress{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::vector<wdm::usb::EndpointDescriptor> endpoints = {
        {0x81, wdm::usb::EndpointType::Bulk, 512},
        {0x02, wdm::usb::EndpointType::Bulk, 512},
        {0x03, wdm::usb::EndpointType::Bulk, 512},
    };
    std::chrono::milliseconds replyDelay{2};
    // Frames received while no read is queued are kept, up to this many.
    std::size_t receiveFifo = 512;
};

// Transfers the dongle fails on purpose, as a flaky cable or firmware would:
// the next `failedReads` bulk IN reads and `failedWrites` bulk OUT transfers
// end with `status` (the device stays present).
struct TransferFaults {
    std::size_t failedReads = 0;
    std::size_t failedWrites = 0;
    wdm::usb::UsbdStatus status = wdm::usb::UsbdStatus::Error;
};

// A dongle whose third endpoint is an interrupt endpoint.
DongleConfig WithInterruptThirdEndpoint(DongleConfig config);

class VirtualDongle : public wdm::usb::UsbDevicePort {
public:
    VirtualDongle(DongleConfig config, std::shared_ptr<RadioMedium> medium);
    ~VirtualDongle() override;

    std::vector<std::uint8_t> deviceDescriptor() override;
    std::vector<std::uint8_t> configurationDescriptor() override;
    wdm::usb::UsbdStatus setConfiguration(std::uint8_t value) override;
    wdm::usb::UsbdStatus controlTransfer(const wdm::usb::ControlSetup& setup, std::span<std::uint8_t> data,
                                         std::size_t& transferred) override;
    wdm::usb::UsbdStatus bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data) override;
    void bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> buffer, BulkInCompletion done) override;
    void abortPipe(std::uint8_t endpoint) override;

    // The device is pulled out: queued reads fail, later transfers fail.
    void pull();
    // Puts a frame on the bulk IN side as if it had come over the air.
    void inject(std::vector<std::uint8_t> frame);
    void setTransferFaults(TransferFaults faults);
    // Bulk IN reads completed so far with a failure other than a cancel.
    std::size_t failedReadCount() const;

    std::uint16_t channel() const;
    std::uint32_t registerValue(std::uint32_t address) const;
    std::uint8_t configurationValue() const;
    // Every register write in order (address, value).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> registerWrites() const;
    // Bulk OUT frames: their total and the last ones kept.
    std::size_t sentCount() const;
    // Blocks until `count` frames in all have been handed to bulk IN reads and
    // their completions have returned; false when the time-out ran out.
    bool waitDelivered(std::size_t count, std::chrono::milliseconds timeout) const;
    std::vector<std::vector<std::uint8_t>> recentFrames() const;

private:
    struct PendingRead {
        std::span<std::uint8_t> buffer;
        BulkInCompletion done;
    };
    struct Scheduled {
        std::chrono::steady_clock::time_point due;
        std::vector<std::uint8_t> frame;
    };
    void deliveryLoop();
    void deliverLocked(std::unique_lock<std::mutex>& lock);

    const DongleConfig m_config;
    std::shared_ptr<RadioMedium> m_medium;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    mutable std::condition_variable m_deliveredChanged;
    std::size_t m_delivered = 0;
    TransferFaults m_faults;
    std::size_t m_failedReads = 0;
    bool m_gone = false;
    bool m_ending = false;
    std::uint16_t m_channel = 1;
    std::uint8_t m_configuration = 0;
    std::map<std::uint32_t, std::uint32_t> m_registers;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_registerWrites;
    std::size_t m_sent = 0;
    std::deque<std::vector<std::uint8_t>> m_recent;
    std::deque<Scheduled> m_scheduled;
    std::deque<std::vector<std::uint8_t>> m_arrived;
    std::deque<PendingRead> m_reads;
    std::thread m_delivery;
};

}  // namespace sim::radio
