#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kit::setup {

enum class MessageLanguage { SimplifiedChinese, TraditionalChinese, English };

// English for choice 1; Simplified Chinese for choice 0 on 0x0804;
// Traditional Chinese for choice 0 on any other system.
[[nodiscard]] MessageLanguage OutcomeLanguage(std::uint16_t languageChoice, std::uint16_t languageId);

// The outcome message as the program stores it: code page 936 bytes for
// Simplified Chinese, 950 for Traditional Chinese, ASCII for English.
[[nodiscard]] std::string_view OutcomeMessageBytes(bool installed, MessageLanguage language);

// The same message converted to UTF-8 for display.
[[nodiscard]] std::string OutcomeMessageText(bool installed, MessageLanguage language);

}  // namespace kit::setup
