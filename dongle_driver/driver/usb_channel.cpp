#include "dongle_driver/driver/usb_channel.h"

namespace kirva {

using wdm::Status;

Status UsbChannel::submitSync(wdm::usb::Urb& urb) {
    if (!m_lower) return Status::NoSuchDevice;
    wdm::IoRequest request(wdm::MajorFunction::InternalDeviceControl);
    request.ioControlCode = wdm::kSubmitUrb;
    request.urb = &urb;
    wdm::KernelEvent done(wdm::EventType::Notification);
    request.pushCompletion([&done](wdm::IoRequest&) {
        done.set();
        return wdm::CompletionAction::StopCompletion;
    });
    const Status called = m_io.callDriver(*m_lower, request);
    if (called == Status::Pending) {
        if (!done.wait()) m_trace(TraceComponent::Usb, "pending\n");
    }
    const Status result = request.status;
    request.complete(result);  // the request ends here, with its own status
    return result;
}

Status UsbChannel::submitAsync(wdm::IoRequest& request, wdm::usb::Urb& urb) {
    if (!m_lower) {
        request.complete(Status::NoSuchDevice, 0);
        return Status::NoSuchDevice;
    }
    request.ioControlCode = wdm::kSubmitUrb;
    request.urb = &urb;
    return m_io.callDriver(*m_lower, request);
}

Status UsbChannel::vendorRequest(wdm::usb::Direction direction, std::uint8_t code, std::uint16_t value,
                                 std::uint16_t index, std::span<std::uint8_t> data) {
    auto urb = m_io.pool().make<wdm::usb::Urb>(wdm::usb::BuildVendorRequest(direction, code, value, index, data));
    if (!urb) {
        m_trace(TraceComponent::Usb, "   Failed to allocate URB for vendor request!\n");
        return Status::InsufficientResources;
    }
    const Status status = submitSync(*urb);
    if (status != Status::Success) {
        m_trace(TraceComponent::Usb, "  Failed to issue vendor request[%X, %X]\n", static_cast<unsigned>(status),
                static_cast<unsigned>(urb->status));
        return Status::Unsuccessful;
    }
    return Status::Success;
}

Status UsbChannel::bulkOut(std::uint32_t pipeHandle, std::span<std::uint8_t> data) {
    auto urb = wdm::usb::BuildBulkTransfer(pipeHandle, data, false);
    urb.direction = wdm::usb::Direction::Out;
    return submitSync(urb);
}

Status UsbChannel::abortPipe(std::uint32_t pipeHandle) {
    auto urb = wdm::usb::BuildAbortPipe(pipeHandle);
    return submitSync(urb);
}

}  // namespace kirva
