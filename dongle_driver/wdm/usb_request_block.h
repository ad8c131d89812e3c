#pragma once
// USB request blocks: what a function driver asks of the USB bus below it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace wdm::usb {

enum class UrbFunction { GetDescriptor, SelectConfiguration, VendorRequest, BulkTransfer, AbortPipe };
enum class DescriptorType : std::uint8_t { Device = 1, Configuration = 2 };
enum class Direction { In, Out };
enum class EndpointType : std::uint8_t { Control = 0, Isochronous = 1, Bulk = 2, Interrupt = 3 };

// Outcome of a request on the bus, next to the request's own status.
enum class UsbdStatus { Success, Stall, Cancelled, DeviceGone, BufferOverrun, InvalidPipe, Timeout, Error };
std::string_view UsbdStatusName(UsbdStatus status);

struct PipeInformation {
    std::uint8_t endpointAddress = 0;
    EndpointType type = EndpointType::Control;
    std::uint16_t maxPacketSize = 0;
    std::uint32_t maxTransferSize = 0;
    std::uint32_t pipeHandle = 0;  // valid after the configuration is selected
};

struct InterfaceInformation {
    std::uint8_t number = 0;
    std::uint8_t alternateSetting = 0;
    std::vector<PipeInformation> pipes;
};

struct Urb {
    UrbFunction function = UrbFunction::GetDescriptor;
    UsbdStatus status = UsbdStatus::Success;

    // GetDescriptor
    DescriptorType descriptorType = DescriptorType::Device;
    // VendorRequest (vendor type, device recipient)
    Direction direction = Direction::Out;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
    // GetDescriptor, VendorRequest, BulkTransfer: the caller's buffer; for IN
    // transfers `transferred` tells how much of it the bus filled.
    std::span<std::uint8_t> buffer;
    std::size_t transferred = 0;
    bool shortTransferOk = false;
    // SelectConfiguration: the configuration descriptor to select (none:
    // unconfigure the device) and the interfaces; on return the pipes carry
    // their handles and the configuration handle is set.
    std::optional<std::vector<std::uint8_t>> configurationDescriptor;
    std::vector<InterfaceInformation> interfaces;
    std::uint32_t configurationHandle = 0;
    // BulkTransfer, AbortPipe
    std::uint32_t pipeHandle = 0;
};

Urb BuildGetDescriptor(DescriptorType type, std::span<std::uint8_t> buffer);
Urb BuildVendorRequest(Direction direction, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                       std::span<std::uint8_t> buffer);
Urb BuildBulkTransfer(std::uint32_t pipeHandle, std::span<std::uint8_t> buffer, bool shortTransferOk);
Urb BuildAbortPipe(std::uint32_t pipeHandle);
// An empty interface list with no descriptor unconfigures the device.
Urb BuildSelectConfiguration(std::optional<std::vector<std::uint8_t>> descriptor,
                             std::vector<InterfaceInformation> interfaces);

}  // namespace wdm::usb
