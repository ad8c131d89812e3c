#include "platform/sync/thread_message_queue.h"

namespace kit {

ThreadMessageQueue::ThreadMessageQueue(std::size_t capacity) : m_capacity(capacity) {}

bool ThreadMessageQueue::post(ThreadMessage message) {
    std::lock_guard lock(m_mutex);
    if (m_messages.size() >= m_capacity) return false;
    m_messages.push_back(message);
    m_ready.set();
    return true;
}

std::optional<ThreadMessage> ThreadMessageQueue::get(std::chrono::milliseconds timeout) {
    Deadline deadline(timeout);
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_messages.empty()) {
                ThreadMessage message = m_messages.front();
                m_messages.pop_front();
                if (m_messages.empty()) m_ready.reset();
                return message;
            }
        }
        int left = deadline.pollMilliseconds();
        if (left == 0 || !m_ready.wait(std::chrono::milliseconds(left))) {
            std::lock_guard lock(m_mutex);
            if (m_messages.empty()) return std::nullopt;
        }
    }
}

std::size_t ThreadMessageQueue::size() const {
    std::lock_guard lock(m_mutex);
    return m_messages.size();
}

}  // namespace kit
