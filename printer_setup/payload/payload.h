#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kit::payload {

// The resource type under which the installer looks for its payload.
inline constexpr std::string_view kResourceType = "OWNER_DATA";

// The bytes of a payload block, looked up by resource type and number like a
// resource of the program file. Type names compare without regard to case;
// nothing for an unknown type or number. Numbers that carry identical bytes
// share one stored copy.
[[nodiscard]] std::optional<std::string_view> FindResource(std::string_view type, std::uint16_t number);

namespace detail {
struct BlockEntry {
    std::uint16_t number;
    const unsigned char* data;
    std::size_t size;
};
extern const BlockEntry kBlocks[];
extern const std::size_t kBlockCount;
}  // namespace detail

}  // namespace kit::payload
