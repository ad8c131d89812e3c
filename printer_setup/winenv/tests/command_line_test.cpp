#include "printer_setup/winenv/command_line.h"

#include <gtest/gtest.h>

namespace kit::winenv {
namespace {

TEST(CommandLine, SplitsLikeTheCRuntime) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"rundll32 printui.dll,PrintUIEntry /if /f C:\\TEMP\\J57.INF /r \"LPT1:\" /b \"J57\" /m \"J57\" ",
         {"rundll32", "printui.dll,PrintUIEntry", "/if", "/f", "C:\\TEMP\\J57.INF", "/r", "LPT1:", "/b", "J57",
          "/m", "J57"}},
        {"a \"b c\"d  e", {"a", "b cd", "e"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\"b", {"a\"b"}},
        {"C:\\dir\\ x", {"C:\\dir\\", "x"}},
        {"\"\"", {""}},
        {"   ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line;
}

}  // namespace
}  // namespace kit::winenv
