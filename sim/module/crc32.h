#pragma once

#include <cstdint>
#include <string_view>

namespace kitsim {

// CRC-32 of IEEE 802.3 (reflected, polynomial 0xEDB88320, initial and final
// value 0xFFFFFFFF), the check of the firmware update blocks.
std::uint32_t Crc32(std::string_view bytes);

}  // namespace kitsim
