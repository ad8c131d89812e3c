#include "config_tool/app/firmware_image.h"

#include <algorithm>

namespace tarnwave {
namespace {

constexpr std::array<std::byte, 4> kMagic{std::byte{0x64}, std::byte{0x36}, std::byte{0x55}, std::byte{0x77}};

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr auto kCrcTable = MakeCrcTable();

void PutLittleEndian(FirmwareBlock& block, std::size_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) block[at + static_cast<std::size_t>(i)] = std::byte((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::uint32_t FirmwareCrc32(std::span<const std::byte> bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::byte b : bytes) crc = kCrcTable[(crc ^ std::to_integer<std::uint32_t>(b)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::uint64_t FirmwareBlockCount(std::uint64_t fileSize) { return (fileSize + kBlockPayloadSize - 1) / kBlockPayloadSize; }

bool IsFirmwareImageHeader(std::span<const std::byte> header, std::uint64_t fileSize) {
  if (header.size() < kImageHeaderSize || fileSize < kImageHeaderSize) return false;
  if (!std::equal(kMagic.begin(), kMagic.end(), header.begin())) return false;
  std::uint64_t length = 0;
  for (std::size_t i = 8; i < 12; ++i) length = (length << 8) | std::to_integer<std::uint64_t>(header[i]);
  // An image without payload is no firmware: it would put the module into its load
  // programme and report a finished update without a single block.
  return length > 0 && length == fileSize - kImageHeaderSize && FirmwareBlockCount(fileSize) <= kMaxBlockCount;
}

FirmwareBlock BuildFirmwareBlock(std::uint16_t number, std::uint16_t count, std::span<const std::byte> data) {
  FirmwareBlock block{};
  PutLittleEndian(block, 0, number, 2);
  PutLittleEndian(block, 2, count, 2);
  const std::size_t length = std::min(data.size(), kBlockPayloadSize);
  std::copy_n(data.begin(), length, block.begin() + 4);
  PutLittleEndian(block, 516, FirmwareCrc32(std::span(block).first(516)), 4);
  return block;
}

}  // namespace tarnwave
