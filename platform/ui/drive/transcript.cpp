#include "platform/ui/drive/transcript.h"

#include <cstdio>

namespace kit::ui::drive {

namespace {

// Length of the valid UTF-8 sequence at `i`, or 0 when the bytes there are not one
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t Utf8Length(const std::string& s, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  std::size_t length = 0;
  unsigned minimum = 0;
  unsigned value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b(i + k) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (const std::size_t n = Utf8Length(text, i)) {
        out.append(text, i, n);
        i += n;
        continue;
      }
    }
    ++i;
    switch (c) {
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      case '\t': out += "\\t"; continue;
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      default: break;
    }
    if (c < 0x20 || c >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
  return out;
}

void Transcript::line(const std::string& text) {
  m_out << text << '\n';
  m_out.flush();
}

void Transcript::open(int id, const std::string& caption) { line("open " + std::to_string(id) + " " + Quote(caption)); }

void Transcript::openBox(const std::string& title, const std::string& text) {
  line("open box " + Quote(title) + " " + Quote(text));
}

void Transcript::close(int id, int result) { line("close " + std::to_string(id) + " " + std::to_string(result)); }

void Transcript::closeBox(int result) { line("close box " + std::to_string(result)); }

void Transcript::refused(int lineNumber, const std::string& why) {
  line("refused " + std::to_string(lineNumber) + " " + Quote(why));
}

void Transcript::show(int id, const std::string& text, const std::vector<std::string>& attributes) {
  std::string out = "show " + std::to_string(id) + " " + Quote(text);
  for (const auto& a : attributes) out += " " + a;
  line(out);
}

void Transcript::entry(int index, const std::vector<std::string>& cells) {
  std::string out = "  " + std::to_string(index);
  for (const auto& cell : cells) out += " " + Quote(cell);
  line(out);
}

}  // namespace kit::ui::drive
