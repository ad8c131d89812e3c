#pragma once
// The vendor and product identifiers that pick a real dongle on the USB:
// "VID:PID", four hexadecimal digits each (e.g. "1a2b:3c4d").

#include <cstdint>
#include <optional>
#include <string_view>

namespace kirva {

struct UsbId {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    bool operator==(const UsbId&) const = default;
};

std::optional<UsbId> ParseUsbId(std::string_view text);

// The environment variable that names the dongle when --usb is not given.
inline constexpr const char* kUsbIdVariable = "KIRVA_UDX_USB";

}  // namespace kirva
