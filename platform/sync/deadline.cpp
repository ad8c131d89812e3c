#include "platform/sync/deadline.h"

#include <climits>

namespace kit {

Deadline::Deadline(std::chrono::milliseconds timeout)
    : m_infinite(timeout < std::chrono::milliseconds::zero()),
      m_end(std::chrono::steady_clock::now() + (m_infinite ? std::chrono::milliseconds::zero() : timeout)) {}

int Deadline::pollMilliseconds() const {
    if (m_infinite) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(m_end - std::chrono::steady_clock::now()).count();
    if (left <= 0) return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

bool Deadline::passed() const { return !m_infinite && std::chrono::steady_clock::now() >= m_end; }

}  // namespace kit
