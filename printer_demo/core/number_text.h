#pragma once

#include <optional>
#include <string_view>

namespace j57 {

// Reads a whole number typed into a box: blanks around it are allowed, an optional
// sign, then decimal digits and nothing else. Returns nullopt when the text is no
// number or the value lies outside [minimum, maximum].
std::optional<long> ParseWholeNumber(std::string_view text, long minimum, long maximum);

}  // namespace j57
