#include "printer_demo/core/box_text.h"

#include "platform/text/code_page.h"
#include "printer_demo/core/manual_text.h"

namespace j57 {

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t value = 0;
    if (c < 0x80) { ++i; continue; }
    if (c >= 0xC2 && c <= 0xDF) { length = 2; value = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { length = 3; value = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { length = 4; value = c & 0x07; }
    else return false;
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3F);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

std::optional<std::string> FileBytesToBoxText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return kit::ToUtf8(bytes, kit::CodePage::Gbk936);
}

std::optional<std::string> BoxTextToPrinterBytes(std::string_view text) {
  return kit::FromUtf8(ToTextBoxLineBreaks(text), kit::CodePage::Gbk936);
}

std::optional<std::string> FileBytesToPrinterBytes(std::string_view bytes) {
  const auto text = FileBytesToBoxText(bytes);
  if (!text) return std::nullopt;
  return BoxTextToPrinterBytes(*text);
}

}  // namespace j57
