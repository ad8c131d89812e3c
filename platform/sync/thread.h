#pragma once
// A thread that belongs to one owner and is joined by it (at the latest when destroyed).
// Stopping is the owner's business: it sets the stop event the body waits on, then joins.
#include <functional>
#include <thread>

namespace kit {

class Thread {
public:
    Thread() = default;
    explicit Thread(std::function<void()> body);
    ~Thread();
    Thread(Thread&&) = default;
    Thread& operator=(Thread&& other);
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    bool joinable() const { return m_thread.joinable(); }
    // Waits for the body to return. Joining from the thread itself is refused (returns
    // false) instead of deadlocking; joining a thread that never started is a no-op.
    bool join();
    bool isCurrent() const { return m_thread.get_id() == std::this_thread::get_id(); }

private:
    std::thread m_thread;
};

}  // namespace kit
