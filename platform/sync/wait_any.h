#pragma once
// Waiting for the first of several events, like the multiple-object wait of Windows.
#include <chrono>
#include <cstddef>
#include <span>

#include "platform/sync/event.h"

namespace kit {

struct WaitResult {
    bool timedOut;
    std::size_t index;  // the event that ended the wait; meaningless when timedOut
};

// Blocks until one of the events is set or the time-out passes (kInfinite: no limit).
// When several are set, the one with the lowest index wins. An auto-reset event that is
// reported is consumed; the others are left as they are. An empty list just times out.
[[nodiscard]] WaitResult WaitAny(std::span<Event* const> events, std::chrono::milliseconds timeout);

}  // namespace kit
