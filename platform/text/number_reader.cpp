#include "platform/text/number_reader.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace kit {
namespace {

// strtol needs a terminated string; a view may not be one.
std::string Terminated(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

bool ValidBase(int base) { return base >= 2 && base <= 36; }

}  // namespace

long ReadLeadingLong(std::string_view text, int base) {
    if (!ValidBase(base)) return 0;
    const std::string copy = Terminated(text);
    errno = 0;
    return std::strtol(copy.c_str(), nullptr, base);  // saturates at LONG_MIN/LONG_MAX
}

unsigned long ReadLeadingUnsigned(std::string_view text, int base) {
    if (!ValidBase(base)) return 0;
    const std::string copy = Terminated(text);
    errno = 0;
    return std::strtoul(copy.c_str(), nullptr, base);
}

int ReadLeadingInt(std::string_view text, int base) {
    const long value = ReadLeadingLong(text, base);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace kit
