#include "sim/module/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace kitsim {
namespace {

TEST(Crc32, MatchesZlib) {
  for (std::string data : {std::string(), std::string("123456789"), std::string(516, '\xa5'), std::string("a\0b", 3)}) {
    uLong expected = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    EXPECT_EQ(Crc32(data), expected);
  }
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
}

}  // namespace
}  // namespace kitsim
