#pragma once
// Time as the programs see it: a steady millisecond count and a sleep. Code whose
// behaviour depends on elapsed time takes a Clock so tests can control it.
#include <atomic>
#include <chrono>
#include <cstdint>

namespace kit {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a steady clock with an arbitrary origin.
    virtual std::int64_t now() = 0;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
public:
    std::int64_t now() override;
    void sleep(std::chrono::milliseconds duration) override;
    // The process-wide real clock, for code that is given no other.
    static SystemClock& instance();
};

// A clock that moves only when told: sleep() advances it at once and counts the sleeps.
class ManualClock final : public Clock {
public:
    explicit ManualClock(std::int64_t start = 0) : m_now(start) {}
    std::int64_t now() override { return m_now.load(); }
    void sleep(std::chrono::milliseconds duration) override;
    void advance(std::chrono::milliseconds duration) { m_now += duration.count(); }
    std::int64_t sleptMilliseconds() const { return m_slept.load(); }
    int sleepCount() const { return m_sleeps.load(); }

private:
    std::atomic<std::int64_t> m_now;
    std::atomic<std::int64_t> m_slept{0};
    std::atomic<int> m_sleeps{0};
};

}  // namespace kit
