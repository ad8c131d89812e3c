#include "dongle_driver/wdm/usb_request_block.h"

namespace wdm::usb {

std::string_view UsbdStatusName(UsbdStatus status) {
    switch (status) {
        case UsbdStatus::Success: return "success";
        case UsbdStatus::Stall: return "stall";
        case UsbdStatus::Cancelled: return "cancelled";
        case UsbdStatus::DeviceGone: return "device-gone";
        case UsbdStatus::BufferOverrun: return "buffer-overrun";
        case UsbdStatus::InvalidPipe: return "invalid-pipe";
        case UsbdStatus::Timeout: return "timeout";
        case UsbdStatus::Error: return "error";
    }
    return "unknown";
}

Urb BuildGetDescriptor(DescriptorType type, std::span<std::uint8_t> buffer) {
    Urb urb;
    urb.function = UrbFunction::GetDescriptor;
    urb.descriptorType = type;
    urb.buffer = buffer;
    urb.direction = Direction::In;
    return urb;
}

Urb BuildVendorRequest(Direction direction, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                       std::span<std::uint8_t> buffer) {
    Urb urb;
    urb.function = UrbFunction::VendorRequest;
    urb.direction = direction;
    urb.request = request;
    urb.value = value;
    urb.index = index;
    urb.buffer = buffer;
    return urb;
}

Urb BuildBulkTransfer(std::uint32_t pipeHandle, std::span<std::uint8_t> buffer, bool shortTransferOk) {
    Urb urb;
    urb.function = UrbFunction::BulkTransfer;
    urb.pipeHandle = pipeHandle;
    urb.buffer = buffer;
    urb.shortTransferOk = shortTransferOk;
    return urb;
}

Urb BuildAbortPipe(std::uint32_t pipeHandle) {
    Urb urb;
    urb.function = UrbFunction::AbortPipe;
    urb.pipeHandle = pipeHandle;
    return urb;
}

Urb BuildSelectConfiguration(std::optional<std::vector<std::uint8_t>> descriptor,
                             std::vector<InterfaceInformation> interfaces) {
    Urb urb;
    urb.function = UrbFunction::SelectConfiguration;
    urb.configurationDescriptor = std::move(descriptor);
    urb.interfaces = std::move(interfaces);
    return urb;
}

}  // namespace wdm::usb
