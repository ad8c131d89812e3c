#include "printer_demo/sysenv/locale_separators.h"

#include <langinfo.h>
#include <locale.h>

#include <string>

namespace j57 {
namespace {

// The first separator in a strftime pattern such as "%d.%m.%Y" or "%H:%M:%S".
std::string SeparatorOf(const char* pattern, const char* fallback) {
  if (pattern == nullptr) return fallback;
  const std::string text = pattern;
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] != '%') continue;
    const char after = text[i + 2];
    if (after != '%' && after != ' ') return std::string(1, after);
    ++i;
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
