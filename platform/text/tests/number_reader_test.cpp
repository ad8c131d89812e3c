#include <gtest/gtest.h>

#include <climits>
#include <string_view>

#include "platform/text/number_reader.h"

using namespace std::string_view_literals;

struct LeadingCase {
    std::string_view text;
    int base;
    long expected;
};

class ReadLeadingLongTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(ReadLeadingLongTest, ReadsAsTheCLibraryDoes) {
    EXPECT_EQ(kit::ReadLeadingLong(GetParam().text, GetParam().base), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadLeadingLongTest,
                         testing::Values(LeadingCase{"115200", 10, 115200}, LeadingCase{"  42abc", 10, 42},
                                         LeadingCase{"-7", 10, -7}, LeadingCase{"+8", 10, 8},
                                         LeadingCase{"abc", 10, 0}, LeadingCase{"", 10, 0},
                                         LeadingCase{"3FFF", 16, 0x3FFF}, LeadingCase{"0x1fz", 16, 0x1F},
                                         LeadingCase{"12\0" "34"sv, 10, 12}, LeadingCase{"12", 99, 0},
                                         LeadingCase{"99999999999999999999999", 10, LONG_MAX}));

TEST(ReadLeadingInt, SaturatesAtThe32BitLimits) {
    EXPECT_EQ(kit::ReadLeadingInt("4294967296"), INT_MAX);
    EXPECT_EQ(kit::ReadLeadingInt("-4294967296"), INT_MIN);
    EXPECT_EQ(kit::ReadLeadingInt("1234 5"), 1234);
}

TEST(ReadLeadingUnsigned, ReadsHexWithoutSign) {
    EXPECT_EQ(kit::ReadLeadingUnsigned("FFFFFFFF", 16), 0xFFFFFFFFul);
    EXPECT_EQ(kit::ReadLeadingUnsigned("z", 16), 0ul);
}
