#pragma once

#include <string>

namespace j57 {

// A calendar date and a time of day on the local clock.
struct LocalTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
};

// Date and time separators of the user's regional settings.
struct DateSeparators {
  std::string date = "/";
  std::string time = ":";
};

// "yyyy/MM/dd    HH:nn:ss " (four blanks inside, one trailing blank).
std::string LongDateStamp(const LocalTime& time, const DateSeparators& separators = {});
// "yyyy/MM/dd   HH:nn" (three blanks inside, no seconds, nothing trailing).
std::string ShortDateStamp(const LocalTime& time, const DateSeparators& separators = {});

}  // namespace j57
