#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace j57 {

// One piece of printer output: exactly the bytes written, nothing added.
using Bytes = std::vector<std::uint8_t>;
// The pieces of one print action, in the order they are written.
using Pieces = std::vector<Bytes>;

// The bytes of a single-byte text.
inline Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The bytes of a text followed by a line feed, as one piece.
inline Bytes TextLine(std::string_view text) {
  Bytes bytes = TextBytes(text);
  bytes.push_back(0x0A);
  return bytes;
}

// All pieces joined into one byte stream, as the printer sees them.
inline Bytes Join(const Pieces& pieces) {
  Bytes all;
  for (const Bytes& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
  return all;
}

}  // namespace j57
