#include "config_tool/app/firmware_image.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

namespace tarnwave {
namespace {

std::vector<std::byte> Header(std::uint32_t length, std::uint8_t firstMagic = 0x64) {
  std::vector<std::byte> h(16, std::byte{0xAA});
  h[0] = std::byte{firstMagic};
  h[1] = std::byte{0x36};
  h[2] = std::byte{0x55};
  h[3] = std::byte{0x77};
  for (int i = 0; i < 4; ++i) h[8 + static_cast<std::size_t>(i)] = std::byte((length >> (24 - 8 * i)) & 0xFF);
  return h;
}

TEST(FirmwareImageTest, HeaderCheck) {
  struct Case {
    std::vector<std::byte> header;
    std::uint64_t fileSize;
    bool good;
  };
  const std::vector<std::byte> whole = Header(1024);
  const Case cases[] = {
      {Header(1024), 1040, true},
      {Header(1000), 1016, true},
      {Header(1025), 1040, false},            // length one too large
      {Header(1024, 0x65), 1040, false},      // magic
      {Header(0), 16, false},                 // header only: nothing to send
      {{whole.begin(), whole.begin() + 15}, 1040, false},  // short header
      {Header(0xFFFF * 512 - 16), 0xFFFF * 512, true},                     // the last count that fits
      {Header(0xFFFF * 512 - 15), 0xFFFF * 512 + 1, false},                // 65536 blocks
      {Header(100 * 1024 * 1024 - 16), 100 * 1024 * 1024, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsFirmwareImageHeader(c.header, c.fileSize), c.good) << c.fileSize;
}

TEST(FirmwareImageTest, BlocksCarryNumberCountPaddedDataAndZlibsCrc) {
  EXPECT_EQ(FirmwareBlockCount(1040), 3u);
  EXPECT_EQ(FirmwareBlockCount(1016), 2u);
  EXPECT_EQ(FirmwareBlockCount(1024), 2u);
  std::vector<std::byte> data(488);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::byte(i * 7 + 1);
  const FirmwareBlock block = BuildFirmwareBlock(0x0102, 0x0A0B, data);
  EXPECT_EQ(block[0], std::byte{0x02});
  EXPECT_EQ(block[1], std::byte{0x01});
  EXPECT_EQ(block[2], std::byte{0x0B});
  EXPECT_EQ(block[3], std::byte{0x0A});
  for (std::size_t i = 0; i < 512; ++i) EXPECT_EQ(block[4 + i], i < data.size() ? data[i] : std::byte{0}) << i;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(block.data()), 516);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(block[516 + static_cast<std::size_t>(i)], std::byte((crc >> (8 * i)) & 0xFF));
  for (std::size_t i = 520; i < 528; ++i) EXPECT_EQ(block[i], std::byte{0});
  EXPECT_EQ(FirmwareCrc32(std::span(block).first(0)), 0u);
}

}  // namespace
}  // namespace tarnwave
