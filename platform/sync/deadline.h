#pragma once
// Time-out arithmetic shared by the waits of this folder.
#include <chrono>

namespace kit {

// A time-out of kInfinite waits for ever; zero only looks.
inline constexpr std::chrono::milliseconds kInfinite{-1};

// A point in time after which a wait gives up, built from a relative time-out.
class Deadline {
public:
    explicit Deadline(std::chrono::milliseconds timeout);

    bool infinite() const { return m_infinite; }
    // Milliseconds left as poll() takes them: -1 for ever, 0 once passed.
    int pollMilliseconds() const;
    bool passed() const;

private:
    bool m_infinite;
    std::chrono::steady_clock::time_point m_end;
};

}  // namespace kit
