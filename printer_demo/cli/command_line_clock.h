#pragma once

#include <optional>
#include <string_view>

#include "printer_demo/core/date_stamp.h"

namespace j57 {

// Reads "YYYY-MM-DD HH:MM:SS" exactly (fields checked against the calendar); nullopt
// for anything else.
std::optional<LocalTime> ParseTimestamp(std::string_view text);

}  // namespace j57
