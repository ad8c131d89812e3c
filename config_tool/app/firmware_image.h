#pragma once
// The firmware image file and the update blocks built from it.
//
// An image is a 16-byte header (magic 64 36 55 77, four bytes not examined, the payload
// length big-endian, four bytes not examined) and the payload. The payload travels in
// 528-byte blocks: block number and block count (little-endian, 16 bits each), 512
// payload bytes (a short last block padded with zeros), the CRC-32 of bytes 0 to 515
// (little-endian) and 8 zero bytes. The block count comes from the whole file size,
// header included.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnwave {

inline constexpr std::size_t kImageHeaderSize = 16;
inline constexpr std::size_t kBlockPayloadSize = 512;
inline constexpr std::size_t kFirmwareBlockSize = 528;
// Block numbers and counts are 16-bit fields.
inline constexpr std::uint64_t kMaxBlockCount = 0xFFFF;

using FirmwareBlock = std::array<std::byte, kFirmwareBlockSize>;

// CRC-32 of IEEE 802.3 (reflected polynomial 0xEDB88320, initial and final value
// 0xFFFFFFFF): the check of every update block.
std::uint32_t FirmwareCrc32(std::span<const std::byte> bytes);

// (fileSize + 511) / 512.
std::uint64_t FirmwareBlockCount(std::uint64_t fileSize);

// True when the header is whole, carries the magic and announces a payload of exactly
// fileSize - 16 bytes (at least one), and the block count fits its 16-bit field.
bool IsFirmwareImageHeader(std::span<const std::byte> header, std::uint64_t fileSize);

// One update block; data holds at most 512 bytes (more are ignored).
FirmwareBlock BuildFirmwareBlock(std::uint16_t number, std::uint16_t count, std::span<const std::byte> data);

}  // namespace tarnwave
