#pragma once
// Number readers with the C library's leading-digits rule: leading blanks and one sign
// are skipped, then digits are read as far as they go and the rest is ignored; text
// without digits reads as 0. Values beyond the type's range saturate at its limit.
#include <string_view>

namespace kit {

// base 16 also accepts a leading "0x" or "0X".
long ReadLeadingLong(std::string_view text, int base = 10);
// A negative number wraps as in the C library (a leading '-' negates the value read).
unsigned long ReadLeadingUnsigned(std::string_view text, int base = 10);
// The 32-bit int of the original programs: saturates at its limits.
int ReadLeadingInt(std::string_view text, int base = 10);

}  // namespace kit
