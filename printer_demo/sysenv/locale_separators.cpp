#include "printer_demo/sysenv/locale_separators.h"

#include <langinfo.h>
#include <locale.h>

#include <string>

namespace j57 {
namespace {

bool IsAsciiPunctuation(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte > 0x20 && byte < 0x7F && !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
}

// The first separator in a strftime pattern such as "%d.%m.%Y" or "%H:%M:%S".
// Only one ASCII punctuation character counts: the receipt's stamp is built
// byte by byte, and a locale that writes "%Y年%m月" (or a letter) has no
// separator the stamp could carry, so the fallback stands.
std::string SeparatorOf(const char* pattern, const char* fallback) {
  if (pattern == nullptr) return fallback;
  const std::string text = pattern;
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] != '%') continue;
    const char after = text[i + 2];
    if (after == ' ' || after == '%') {
      ++i;
      continue;
    }
    if (!IsAsciiPunctuation(after)) return fallback;
    return std::string(1, after);
  }
  return fallback;
}

}  // namespace

DateSeparators SeparatorsOfFormats(const char* dateFormat, const char* timeFormat) {
  return {SeparatorOf(dateFormat, "/"), SeparatorOf(timeFormat, ":")};
}

DateSeparators UserDateSeparators() {
  // A locale object of its own, so the program's global locale stays untouched.
  locale_t user = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return {};
  DateSeparators separators = SeparatorsOfFormats(::nl_langinfo_l(D_FMT, user), ::nl_langinfo_l(T_FMT, user));
  ::freelocale(user);
  return separators;
}

}  // namespace j57
