#include "printer_demo/core/date_stamp.h"

#include <cstdio>

namespace j57 {
namespace {

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

std::string DatePart(const LocalTime& t, const DateSeparators& s) {
  return Digits(t.year, 4) + s.date + Digits(t.month, 2) + s.date + Digits(t.day, 2);
}

}  // namespace

std::string LongDateStamp(const LocalTime& t, const DateSeparators& s) {
  return DatePart(t, s) + "    " + Digits(t.hour, 2) + s.time + Digits(t.minute, 2) + s.time +
         Digits(t.second, 2) + " ";
}

std::string ShortDateStamp(const LocalTime& t, const DateSeparators& s) {
  return DatePart(t, s) + "   " + Digits(t.hour, 2) + s.time + Digits(t.minute, 2);
}

}  // namespace j57
