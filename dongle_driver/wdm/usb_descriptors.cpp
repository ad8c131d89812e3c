#include "dongle_driver/wdm/usb_descriptors.h"

namespace wdm::usb {

namespace {
constexpr std::uint8_t kInterfaceType = 4;
constexpr std::uint8_t kEndpointType = 5;
constexpr std::uint8_t kConfigurationType = 2;
}  // namespace

std::optional<std::uint16_t> ConfigurationTotalLength(std::span<const std::uint8_t> header) {
    if (header.size() < 9 || header[1] != kConfigurationType) return std::nullopt;
    return static_cast<std::uint16_t>(header[2] | (header[3] << 8));
}

std::optional<ConfigurationDescriptor> ParseConfiguration(std::span<const std::uint8_t> bytes) {
    auto total = ConfigurationTotalLength(bytes);
    if (!total || *total < 9 || *total > bytes.size()) return std::nullopt;
    ConfigurationDescriptor configuration;
    configuration.totalLength = *total;
    configuration.configurationValue = bytes[5];
    std::size_t at = bytes[0];
    if (at < 9) return std::nullopt;
    while (at < *total) {
        const std::size_t length = bytes[at];
        if (length < 2 || at + length > *total) return std::nullopt;
        const std::uint8_t type = bytes[at + 1];
        if (type == kInterfaceType) {
            if (length < 9) return std::nullopt;
            configuration.interfaces.push_back({bytes[at + 2], bytes[at + 3], {}});
        } else if (type == kEndpointType) {
            if (length < 7 || configuration.interfaces.empty()) return std::nullopt;
            EndpointDescriptor endpoint;
            endpoint.address = bytes[at + 2];
            endpoint.type = static_cast<EndpointType>(bytes[at + 3] & 0x03);
            endpoint.maxPacketSize = static_cast<std::uint16_t>(bytes[at + 4] | (bytes[at + 5] << 8));
            configuration.interfaces.back().endpoints.push_back(endpoint);
        }
        at += length;
    }
    return configuration;
}

std::vector<std::uint8_t> BuildDeviceDescriptor(std::uint16_t vendorId, std::uint16_t productId) {
    return {18,
            1,
            0x00,
            0x02,
            0xFF,
            0,
            0,
            64,
            static_cast<std::uint8_t>(vendorId),
            static_cast<std::uint8_t>(vendorId >> 8),
            static_cast<std::uint8_t>(productId),
            static_cast<std::uint8_t>(productId >> 8),
            0x00,
            0x01,
            1,
            2,
            0,
            1};
}

std::vector<std::uint8_t> BuildConfigurationDescriptor(const ConfigurationDescriptor& configuration) {
    std::vector<std::uint8_t> bytes = {9, kConfigurationType, 0, 0, 0, configuration.configurationValue, 0, 0x80, 50};
    bytes[4] = static_cast<std::uint8_t>(configuration.interfaces.size());
    for (const auto& interface : configuration.interfaces) {
        bytes.insert(bytes.end(), {9, kInterfaceType, interface.number, interface.alternateSetting,
                                   static_cast<std::uint8_t>(interface.endpoints.size()), 0xFF, 0, 0, 0});
        for (const auto& endpoint : interface.endpoints) {
            bytes.insert(bytes.end(), {7, kEndpointType, endpoint.address, static_cast<std::uint8_t>(endpoint.type),
                                       static_cast<std::uint8_t>(endpoint.maxPacketSize),
                                       static_cast<std::uint8_t>(endpoint.maxPacketSize >> 8), 0});
        }
    }
    bytes[2] = static_cast<std::uint8_t>(bytes.size());
    bytes[3] = static_cast<std::uint8_t>(bytes.size() >> 8);
    return bytes;
}

}  // namespace wdm::usb
