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
  };
  for (const auto& c : cases) {
    const DateSeparators s = SeparatorsOfFormats(c.date, c.time);
    EXPECT_EQ(s.date, c.dateSeparator) << c.date;
    EXPECT_EQ(s.time, c.timeSeparator) << (c.time ? c.time : "null");
  }
}

}  // namespace
}  // namespace j57
