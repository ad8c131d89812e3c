#pragma once
// A waitable event with the two reset behaviours the programs rely on.
//
// An auto-reset event releases exactly one wait per set() and is then clear again;
// a manual-reset event stays set, releasing every wait, until reset(). The event is
// backed by a descriptor that polls readable while the event is set, so it can be
// waited on together with other events (WaitAny) or with I/O descriptors.
#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/sync/deadline.h"

namespace kit {

enum class EventReset { Auto, Manual };

class Event {
public:
    explicit Event(EventReset mode, bool initiallySet = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    // Blocks until the event is set or the time-out passes (kInfinite: no limit).
    // Returns true when the event was set; an auto-reset event is then clear again.
    [[nodiscard]] bool wait(std::chrono::milliseconds timeout);
    // Non-blocking look; consumes an auto-reset event like wait(0).
    [[nodiscard]] bool isSet() { return wait(std::chrono::milliseconds::zero()); }

    EventReset mode() const { return m_mode; }
    // Readable while the event is set. Owned by the event.
    int pollHandle() const { return m_fd; }

    // Used by WaitAny: claims the event after its descriptor polled readable.
    // For an auto-reset event only one of several racing claimers succeeds.
    bool claim();

private:
    EventReset m_mode;
    int m_fd;
    // Bumped (release) by every set() and read (acquire) by every wait that sees the
    // event set, so what the setter wrote before set() is visible to the waiter; the
    // descriptor alone gives no such promise in the language's memory model.
    std::atomic<std::uint64_t> m_sets{0};
};

}  // namespace kit
