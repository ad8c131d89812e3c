#include "printer_demo/sysenv/locale_separators.h"

#include <gtest/gtest.h>

namespace j57 {
namespace {

TEST(LocaleSeparators, FirstSeparatorAfterAField) {
  const struct {
    const char* date;
    const char* time;
    const char* dateSeparator;
    const char* timeSeparator;
  } cases[] = {
      {"%m/%d/%y", "%H:%M:%S", "/", ":"},  // the C locale
      {"%d.%m.%Y", "%H.%M.%S", ".", "."},
      {"%Y-%m-%d", "%T", "-", ":"},         // no separator in the pattern: the default
      {"%d/%m/%Y", "%r", "/", ":"},
      {"", nullptr, "/", ":"},
      // Chinese and Japanese locales write a character after each field: no
      // half character may become the separator.
      {"%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", "%H\xE6\x97\xB6%M\xE5\x88\x86%S\xE7\xA7\x92", "/", ":"},
      {"%Y\xC4\xEA%m\xD4\xC2%d\xC8\xD5", "%Hh%M", "/", ":"},  // code page bytes, a letter
  };
  for (const auto& c : cases) {
    const DateSeparators s = SeparatorsOfFormats(c.date, c.time);
    EXPECT_EQ(s.date, c.dateSeparator) << c.date;
    EXPECT_EQ(s.time, c.timeSeparator) << (c.time ? c.time : "null");
  }
}

}  // namespace
}  // namespace j57
