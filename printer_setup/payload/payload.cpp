#include "printer_setup/payload/payload.h"

namespace kit::payload {

namespace {

bool SameTypeName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string_view> FindResource(std::string_view type, std::uint16_t number) {
    if (!SameTypeName(type, kResourceType)) return std::nullopt;
    for (std::size_t i = 0; i < detail::kBlockCount; ++i) {
        const auto& block = detail::kBlocks[i];
        if (block.number == number) {
            return std::string_view(reinterpret_cast<const char*>(block.data), block.size);
        }
    }
    return std::nullopt;
}

}  // namespace kit::payload
