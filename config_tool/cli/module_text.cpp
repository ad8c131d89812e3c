#include "config_tool/cli/module_text.h"

#include <cstdio>

#include "platform/text/code_page.h"

namespace tarnwave::cli {
namespace {

std::string HexByte(unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// Converts text, keeping every ASCII byte as it is (controls too, for the caller to
// judge) and taking each double-byte character through the code page; a high byte
// that starts no character is shown as \xHH and the next byte is looked at anew.
template <typename AsciiWriter>
std::string Convert(std::string_view text, AsciiWriter ascii) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      out += ascii(text, i);
      continue;
    }
    if (i + 1 < text.size()) {
      if (auto converted = kit::ToUtf8(text.substr(i, 2), kit::CodePage::Gbk936)) {
        out += *converted;
        i += 2;
        continue;
      }
    }
    out += HexByte(static_cast<unsigned char>(text[i++]));
  }
  return out;
}

}  // namespace

std::string ModuleTextToUtf8(std::string_view text) {
  return Convert(text, [](std::string_view t, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(t[i++]);
    return IsControl(byte) ? HexByte(byte) : std::string(1, static_cast<char>(byte));
  });
}

std::optional<std::string> Utf8ToModuleText(std::string_view utf8) { return kit::FromUtf8(utf8, kit::CodePage::Gbk936); }

std::string EscapeForTerminal(std::string_view reply) {
  return Convert(reply, [](std::string_view t, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(t[i++]);
    if (byte == '\r') {
      if (i < t.size() && t[i] == '\n') ++i;
      return std::string("\n");
    }
    if (byte == '\n' || byte == '\t') return std::string(1, static_cast<char>(byte));
    return IsControl(byte) ? HexByte(byte) : std::string(1, static_cast<char>(byte));
  });
}

}  // namespace tarnwave::cli
