#pragma once
// What a device on the USB bus offers to the bus driver: its descriptors, the
// default control pipe and its bulk endpoints. A virtual device implements
// this; a real one would sit behind a host-controller backend.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "dongle_driver/wdm/usb_request_block.h"

namespace wdm::usb {

struct ControlSetup {
    Direction direction = Direction::Out;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
};

class UsbDevicePort {
public:
    // Called exactly once per bulk IN read: with the bytes received, or with
    // a failure status (Cancelled after an abort, DeviceGone after removal).
    using BulkInCompletion = std::function<void(UsbdStatus, std::size_t transferred)>;

    virtual ~UsbDevicePort() = default;

    virtual std::vector<std::uint8_t> deviceDescriptor() = 0;
    virtual std::vector<std::uint8_t> configurationDescriptor() = 0;
    // Configuration value 0 unconfigures the device.
    virtual UsbdStatus setConfiguration(std::uint8_t value) = 0;
    // Vendor request on the default pipe; IN requests fill `data` and report
    // how much in `transferred`.
    virtual UsbdStatus controlTransfer(const ControlSetup& setup, std::span<std::uint8_t> data,
                                       std::size_t& transferred) = 0;
    virtual UsbdStatus bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data) = 0;
    // Queues a read of up to `buffer.size()` bytes; the buffer stays valid
    // until the completion has run.
    virtual void bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> buffer, BulkInCompletion done) = 0;
    // Completes every queued read on the endpoint with Cancelled.
    virtual void abortPipe(std::uint8_t endpoint) = 0;
};

}  // namespace wdm::usb
