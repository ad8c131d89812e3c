#pragma once
// The driver's debug trace. Lines go to a pluggable sink; without a sink
// (the default) tracing costs one check. Tests capture the lines.

#include <cstdarg>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace kirva {

enum class TraceComponent { Pnp, Io, Power, Radio, Usb };
std::string_view TraceComponentName(TraceComponent component);

class DriverTrace {
public:
    using Sink = std::function<void(TraceComponent, std::string_view line)>;

    void setSink(Sink sink);
    // printf-style; the text is the driver's own trace text.
    void operator()(TraceComponent component, const char* format, ...) __attribute__((format(printf, 3, 4)));

private:
    std::mutex m_mutex;
    Sink m_sink;
};

}  // namespace kirva
