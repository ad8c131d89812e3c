#include "platform/sync/thread.h"

namespace kit {

Thread::Thread(std::function<void()> body) : m_thread(std::move(body)) {}

Thread::~Thread() {
    if (!join() && m_thread.joinable()) m_thread.detach();
}

Thread& Thread::operator=(Thread&& other) {
    if (this != &other) {
        join();
        m_thread = std::move(other.m_thread);
    }
    return *this;
}

bool Thread::join() {
    if (!m_thread.joinable()) return true;
    if (isCurrent()) return false;
    m_thread.join();
    return true;
}

}  // namespace kit
