#include "printer_demo/core/manual_text.h"

#include <string>

#include "printer_demo/core/escpos_commands.h"

namespace j57 {

Pieces ManualTextPieces(std::string_view textBytes, long copies) {
  Pieces pieces;
  for (long i = 0; i < copies; ++i) pieces.push_back(TextBytes(textBytes));
  pieces.push_back(cmd::LF());
  pieces.push_back(cmd::FeedAndPartialCut());
  return pieces;
}

std::string ToTextBoxLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace j57
