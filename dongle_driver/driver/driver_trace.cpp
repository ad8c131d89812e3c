#include "dongle_driver/driver/driver_trace.h"

#include <algorithm>
#include <cstdio>

namespace kirva {

std::string_view TraceComponentName(TraceComponent component) {
    switch (component) {
        case TraceComponent::Pnp: return "PNP";
        case TraceComponent::Io: return "IO";
        case TraceComponent::Power: return "POWER";
        case TraceComponent::Radio: return "RADIO";
        case TraceComponent::Usb: return "USB";
    }
    return "?";
}

void DriverTrace::setSink(Sink sink) {
    std::lock_guard lock(m_mutex);
    m_sink = std::move(sink);
}

void DriverTrace::operator()(TraceComponent component, const char* format, ...) {
    std::lock_guard lock(m_mutex);
    if (!m_sink) return;
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length < 0) return;
    m_sink(component, std::string_view(line, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof line - 1)));
}

}  // namespace kirva
