#include <gtest/gtest.h>

#include <vector>

#include "platform/cli/parse_command_line.h"

namespace {

std::optional<int> Parse(std::vector<const char*> args, int* count = nullptr) {
    CLI::App app{"test program"};
    int value = 0;
    app.add_option("--count", value)->check(CLI::Range(1, 9));
    args.insert(args.begin(), "prog");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto result = kit::ParseCommandLine(app, static_cast<int>(args.size()), args.data());
    (void)testing::internal::GetCapturedStdout();
    (void)testing::internal::GetCapturedStderr();
    if (count) *count = value;
    return result;
}

}  // namespace

TEST(ParseCommandLine, HelpEndsWithZeroUsageErrorsWithTwoAndGoodArgumentsRun) {
    EXPECT_EQ(Parse({"--help"}), 0);
    EXPECT_EQ(Parse({"--bogus"}), 2);
    EXPECT_EQ(Parse({"--count", "12"}), 2);
    int count = 0;
    EXPECT_EQ(Parse({"--count", "3"}, &count), std::nullopt);
    EXPECT_EQ(count, 3);
}
