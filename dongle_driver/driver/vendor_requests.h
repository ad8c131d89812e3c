#pragma once
// Vendor requests of the dongle's control pipe and the registers the driver
// programs through them.

#include <cstdint>

namespace kirva::vendor {

inline constexpr std::uint8_t kWriteRegister = 4;     // out: address (32-bit), value (32-bit)
inline constexpr std::uint8_t kSetChannel = 5;        // out: value = channel
inline constexpr std::uint8_t kReadRegister = 0x81;   // in: value/index = address, 4 bytes
inline constexpr std::uint8_t kReadOwnAddress = 0x82; // in: 6 bytes
inline constexpr std::uint32_t kExchangeRegister = 0xC014;
inline constexpr std::uint32_t kExchangeBit = 1u << 24;

}  // namespace kirva::vendor
