#pragma once
// The driver's way down to the USB bus: request blocks sent to the lower
// device, synchronously or with a completion routine.

#include <cstdint>
#include <span>

#include "dongle_driver/driver/driver_trace.h"
#include "dongle_driver/wdm/io_manager.h"
#include "dongle_driver/wdm/usb_request_block.h"

namespace kirva {

class UsbChannel {
public:
    UsbChannel(wdm::IoManager& io, DriverTrace& trace) : m_io(io), m_trace(trace) {}

    void setLowerDevice(wdm::DeviceObject* lower) { m_lower = lower; }
    wdm::DeviceObject* lowerDevice() const { return m_lower; }

    // Sends the block down and blocks until it has completed.
    wdm::Status submitSync(wdm::usb::Urb& urb);
    // Sends the block down in `request`; `request` completes through the
    // routines the caller pushed on it. Returns the status of the call.
    wdm::Status submitAsync(wdm::IoRequest& request, wdm::usb::Urb& urb);

    // Vendor requests on the default pipe (vendor type, device recipient).
    wdm::Status vendorRequest(wdm::usb::Direction direction, std::uint8_t request, std::uint16_t value,
                              std::uint16_t index, std::span<std::uint8_t> data);
    wdm::Status bulkOut(std::uint32_t pipeHandle, std::span<std::uint8_t> data);
    wdm::Status abortPipe(std::uint32_t pipeHandle);

private:
    wdm::IoManager& m_io;
    DriverTrace& m_trace;
    wdm::DeviceObject* m_lower = nullptr;
};

}  // namespace kirva
