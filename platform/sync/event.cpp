#include "platform/sync/event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace kit {

Event::Event(EventReset mode, bool initiallySet) : m_mode(mode), m_fd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    // Without its descriptor an event cannot work at all; running on would turn every
    // wait into a silent time-out, so this is the one place that stops the process.
    if (m_fd < 0) std::abort();
    if (initiallySet) set();
}

Event::~Event() { ::close(m_fd); }

void Event::set() {
    m_sets.fetch_add(1, std::memory_order_release);
    const std::uint64_t one = 1;
    // The counter only saturates after 2^64-2 sets; EAGAIN then still means "set".
    while (::write(m_fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void Event::reset() {
    std::uint64_t value;
    while (::read(m_fd, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

bool Event::claim() {
    if (m_mode == EventReset::Manual) {
        pollfd p{m_fd, POLLIN, 0};
        const bool set = ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
        if (set) (void)m_sets.load(std::memory_order_acquire);
        return set;
    }
    std::uint64_t value;
    for (;;) {
        if (::read(m_fd, &value, sizeof value) == sizeof value) {
            (void)m_sets.load(std::memory_order_acquire);
            return true;
        }
        if (errno != EINTR) return false;  // EAGAIN: another wait took it first
    }
}

bool Event::wait(std::chrono::milliseconds timeout) {
    Deadline deadline(timeout);
    for (;;) {
        const int left = deadline.pollMilliseconds();
        pollfd p{m_fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, left);
        if (ready > 0 && claim()) return true;
        if (ready < 0 && errno != EINTR) return false;
        if (left == 0) return false;
    }
}

}  // namespace kit
