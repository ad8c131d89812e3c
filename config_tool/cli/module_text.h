#pragma once

// Texts between the command line and the module. The module keeps its texts (SSID,
// key, host) in code page 936; the command line speaks UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace tarnwave::cli {

// A module text as UTF-8, for JSON and the terminal. Bytes that are no code page 936
// text come out as \xHH, so the result is always valid UTF-8.
std::string ModuleTextToUtf8(std::string_view text);

// A UTF-8 value in the module's code page; nullopt when it is not UTF-8 or holds a
// character code page 936 does not have.
std::optional<std::string> Utf8ToModuleText(std::string_view utf8);

// A reply as the terminal shows it: "\r\n", "\r" and "\n" become line ends, tabs
// stay, other control bytes and bytes that are no code page 936 text become \xHH,
// so nothing the module sends can drive the terminal.
std::string EscapeForTerminal(std::string_view reply);

}  // namespace tarnwave::cli
