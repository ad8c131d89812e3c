#pragma once

// The one check for texts that a user hands to a module request (set values of the
// command line, the boxes of the configuration page, imported parameter files).
//
// A request ends at its carriage return, so a value holding one would end the
// request early and let the rest run as a command of its own ("x\rAT+RSTF"); a line
// feed or NUL byte forges or cuts a reply line; a double quote inside a quoted text
// ends the text early and lets the rest become further arguments.

#include <optional>
#include <string>
#include <string_view>

namespace tarnwave {

enum class ValueQuoting {
  Bare,    // sent as it stands (numbers, a socket's server address)
  Quoted,  // sent enclosed in double quotes (SSID, key, addresses, host, password)
};

// nullopt when the text may go into a request; otherwise why not, as a phrase that
// follows the value's name ("must not contain a line break or NUL byte").
std::optional<std::string> CheckValueText(std::string_view text, ValueQuoting quoting);

}  // namespace tarnwave
