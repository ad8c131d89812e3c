#pragma once

#include "printer_demo/core/date_stamp.h"

namespace j57 {

// The date and time separators of the user's regional settings (LC_TIME): the first
// character that follows a field in the locale's date and time formats. "/" and ":"
// when the locale names none.
DateSeparators UserDateSeparators();

// The separators of a locale's date and time formats (strftime patterns).
DateSeparators SeparatorsOfFormats(const char* dateFormat, const char* timeFormat);

}  // namespace j57
