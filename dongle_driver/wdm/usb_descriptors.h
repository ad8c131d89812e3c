#pragma once
// Parsing of USB device and configuration descriptors. Everything is read
// from bytes that came from the device, so every length is checked.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "dongle_driver/wdm/usb_request_block.h"

namespace wdm::usb {

struct EndpointDescriptor {
    std::uint8_t address = 0;
    EndpointType type = EndpointType::Control;
    std::uint16_t maxPacketSize = 0;
};

struct InterfaceDescriptor {
    std::uint8_t number = 0;
    std::uint8_t alternateSetting = 0;
    std::vector<EndpointDescriptor> endpoints;
};

struct ConfigurationDescriptor {
    std::uint16_t totalLength = 0;
    std::uint8_t configurationValue = 0;
    std::vector<InterfaceDescriptor> interfaces;
};

// Total length field of a configuration descriptor header (9 bytes or more).
std::optional<std::uint16_t> ConfigurationTotalLength(std::span<const std::uint8_t> header);
// The whole configuration; nullopt when a descriptor runs past the data or a
// length field is impossible.
std::optional<ConfigurationDescriptor> ParseConfiguration(std::span<const std::uint8_t> bytes);
// Descriptor builders, used by virtual devices.
std::vector<std::uint8_t> BuildDeviceDescriptor(std::uint16_t vendorId, std::uint16_t productId);
std::vector<std::uint8_t> BuildConfigurationDescriptor(const ConfigurationDescriptor& configuration);

}  // namespace wdm::usb
