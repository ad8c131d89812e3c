#include "printer_demo/core/wall_clock.h"

#include <ctime>

namespace j57 {

LocalTime SystemWallClock::now() {
  const std::time_t seconds = std::time(nullptr);
  std::tm parts{};
  localtime_r(&seconds, &parts);
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace j57
