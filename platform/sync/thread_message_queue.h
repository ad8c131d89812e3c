#pragma once
// Numbered messages posted to a worker thread, in the order they were posted.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/sync/event.h"

namespace kit {

struct ThreadMessage {
    std::uint32_t id = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class ThreadMessageQueue {
public:
    // A queue holds at most `capacity` messages; a post beyond that is refused.
    explicit ThreadMessageQueue(std::size_t capacity = 10000);

    // Callable from any thread. Returns false when the queue is full.
    [[nodiscard]] bool post(ThreadMessage message);
    // Takes the oldest message, waiting up to `timeout` for one (kInfinite: no limit).
    std::optional<ThreadMessage> get(std::chrono::milliseconds timeout);
    std::size_t size() const;
    // Set while messages are waiting; lets a worker wait for messages and events at once.
    Event& readyEvent() { return m_ready; }

private:
    const std::size_t m_capacity;
    mutable std::mutex m_mutex;
    std::deque<ThreadMessage> m_messages;
    Event m_ready{EventReset::Manual};
};

}  // namespace kit
