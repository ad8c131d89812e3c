#include <gtest/gtest.h>

#include <vector>

#include "platform/cli/quiet_parse.h"
#include "platform/test_support/fuzz_arguments.h"

namespace {

struct QuietRun {
    kit::CommandLineOutcome outcome;
    std::string printed;  // what reached stdout and stderr while parsing
};

QuietRun Parse(std::vector<const char*> args) {
    CLI::App app{"test program"};
    int value = 0;
    app.add_option("--count", value)->check(CLI::Range(1, 9));
    args.insert(args.begin(), "prog");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    QuietRun run{kit::ParseQuietly(app, static_cast<int>(args.size()), args.data()), {}};
    run.printed = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    return run;
}

}  // namespace

TEST(ParseQuietly, KeepsHelpAndErrorsForTheCallerAndPrintsNothing) {
    const QuietRun help = Parse({"--help"});
    EXPECT_EQ(help.outcome.exitCode, 0);
    EXPECT_NE(help.outcome.out.find("--count"), std::string::npos);
    EXPECT_EQ(help.outcome.err, "");

    const QuietRun bad = Parse({"--count", "12"});
    EXPECT_EQ(bad.outcome.exitCode, 2);
    EXPECT_NE(bad.outcome.err.find("--count"), std::string::npos);
    EXPECT_EQ(bad.outcome.out, "");

    const QuietRun good = Parse({"--count", "3"});
    EXPECT_EQ(good.outcome.exitCode, std::nullopt);
    for (const QuietRun* run : {&help, &bad, &good}) EXPECT_EQ(run->printed, "");

    std::ostringstream out, err;
    EXPECT_EQ(bad.outcome.report(out, err), 2);
    EXPECT_EQ(err.str(), bad.outcome.err);
}

TEST(FuzzArguments, SplitsAtNulAndKeepsEmptyArguments) {
    const auto words = [](std::string_view bytes) {
        const test_support::FuzzArguments arguments("prog", reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                    bytes.size());
        std::vector<std::string> out(arguments.argv(), arguments.argv() + arguments.argc());
        EXPECT_EQ(arguments.argv()[arguments.argc()], nullptr);
        return out;
    };
    using W = std::vector<std::string>;
    EXPECT_EQ(words(""), (W{"prog"}));
    EXPECT_EQ(words("a"), (W{"prog", "a"}));
    EXPECT_EQ(words(std::string_view("a\0", 2)), (W{"prog", "a"}));
    EXPECT_EQ(words(std::string_view("a\0\0b", 4)), (W{"prog", "a", "", "b"}));
    EXPECT_EQ(words(std::string_view("\0", 1)), (W{"prog", ""}));
}
