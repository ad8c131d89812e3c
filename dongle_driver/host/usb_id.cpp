#include "dongle_driver/host/usb_id.h"

namespace kirva {

namespace {

std::optional<std::uint16_t> ParseHex4(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    std::uint16_t value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return std::nullopt;
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

}  // namespace

std::optional<UsbId> ParseUsbId(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto vendor = ParseHex4(text.substr(0, colon));
    const auto product = ParseHex4(text.substr(colon + 1));
    if (!vendor || !product) return std::nullopt;
    return UsbId{*vendor, *product};
}

}  // namespace kirva
