#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kit::setup {

// A search text and the whole line that replaces any line containing it.
struct ModelLinePair {
    std::string search;
    std::string replacement;
};

// Lines are read in pieces of at most this many characters, like a 260-byte
// line buffer with its terminator.
inline constexpr std::size_t kLinePieceLimit = 259;

// The five pairs that rename the model in the GPD and INI texts, built with
// the model name M ("OEMDriverFile1=" -> "OEMDriverFile1=<M>D.DLL", ...).
// Each replacement is cut to 259 characters, the size of its field.
[[nodiscard]] std::vector<ModelLinePair> BuildModelLineTable(std::string_view modelName);

// The rewritten text: CRLF pairs read as one LF, the text split into pieces
// of at most 259 characters at line ends, and each piece that contains the
// search text of a pair (the first pair that matches, in table order) replaced
// by that pair's line. Every output piece ends in a single LF.
[[nodiscard]] std::string RewriteModelLines(std::string_view source, const ModelLinePair* pairs,
                                            std::size_t count);

}  // namespace kit::setup
