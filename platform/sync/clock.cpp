#include "platform/sync/clock.h"

#include <thread>

namespace kit {

std::int64_t SystemClock::now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SystemClock::sleep(std::chrono::milliseconds duration) {
    if (duration > std::chrono::milliseconds::zero()) std::this_thread::sleep_for(duration);
}

SystemClock& SystemClock::instance() {
    static SystemClock clock;
    return clock;
}

void ManualClock::sleep(std::chrono::milliseconds duration) {
    if (duration < std::chrono::milliseconds::zero()) return;
    m_now += duration.count();
    m_slept += duration.count();
    ++m_sleeps;
}

}  // namespace kit
