#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kit::winenv {

// Splits a Windows command line into arguments the way the C runtime does:
// blanks separate, double quotes group, 2n backslashes before a quote give n
// backslashes and a grouping quote, 2n+1 give n backslashes and a literal
// quote, and other backslashes stand for themselves.
[[nodiscard]] std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace kit::winenv
