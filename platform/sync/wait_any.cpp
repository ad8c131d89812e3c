#include "platform/sync/wait_any.h"

#include <poll.h>

#include <cerrno>
#include <vector>

namespace kit {

WaitResult WaitAny(std::span<Event* const> events, std::chrono::milliseconds timeout) {
    Deadline deadline(timeout);
    std::vector<pollfd> fds(events.size());
    for (;;) {
        for (std::size_t i = 0; i < events.size(); ++i) fds[i] = pollfd{events[i]->pollHandle(), POLLIN, 0};
        const int left = deadline.pollMilliseconds();
        const int ready = ::poll(fds.data(), fds.size(), left);
        if (ready < 0 && errno != EINTR) return {true, 0};
        if (ready > 0) {
            for (std::size_t i = 0; i < events.size(); ++i) {
                if ((fds[i].revents & POLLIN) && events[i]->claim()) return {false, i};
            }
        }
        if (left == 0) return {true, 0};
    }
}

}  // namespace kit
