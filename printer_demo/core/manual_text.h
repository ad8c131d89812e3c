#pragma once

#include <string_view>

#include "printer_demo/core/bytes.h"

namespace j57 {

// The pieces of the manual text test: the text copies times in a row (no copy for
// a count of 0 or less), then LF, then feed and partial cut.
Pieces ManualTextPieces(std::string_view textBytes, long copies);

// Line breaks of a text box go out as CR LF: a lone LF or a lone CR becomes CR LF,
// an existing CR LF stays as it is.
std::string ToTextBoxLineBreaks(std::string_view text);

}  // namespace j57
