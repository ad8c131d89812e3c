#pragma once
// Kernel event object: a notification event stays set until reset, a
// synchronization event lets exactly one waiter through and resets itself.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace wdm {

enum class EventType { Notification, Synchronization };

class KernelEvent {
public:
    explicit KernelEvent(EventType type = EventType::Notification, bool initiallySet = false);
    KernelEvent(const KernelEvent&) = delete;
    KernelEvent& operator=(const KernelEvent&) = delete;

    void set();
    void reset();
    bool isSet() const;
    // Blocks until the event is set or the timeout runs out (no timeout: waits
    // forever). Returns true when the event was set.
    bool wait(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    // Takes the event when it is set, without blocking (a synchronization
    // event resets itself). Returns whether it was set.
    bool tryTake();

    // A waiter that blocks on several events at once registers itself here.
    struct Waiter {
        std::mutex mutex;
        std::condition_variable poked;
        bool pending = false;
    };
    void attach(Waiter* waiter);
    void detach(Waiter* waiter);

private:
    const EventType m_type;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set;
    std::vector<Waiter*> m_waiters;
};

// Waits until one of two events is set and takes it; returns its index (0 or
// 1, the first one wins when both are set). Used by the loop threads, which
// block on their stop and submit events.
int WaitForEither(KernelEvent& first, KernelEvent& second);

}  // namespace wdm
