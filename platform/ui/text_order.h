#pragma once
#include <string_view>

namespace kit::ui {

// Order of sorted lists: byte-wise, ignoring the case of ASCII letters, like the
// system's list controls do for plain texts.
bool TextLess(std::string_view a, std::string_view b);

}  // namespace kit::ui
