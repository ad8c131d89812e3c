#include "dongle_driver/wdm/kernel_event.h"

#include <algorithm>

namespace wdm {

KernelEvent::KernelEvent(EventType type, bool initiallySet) : m_type(type), m_set(initiallySet) {}

void KernelEvent::set() {
    // Waiters are woken while the lock is held: a waiter that owns the event
    // (a request waiting for its own completion) may destroy it as soon as
    // it sees it set, so nothing may touch the event after the lock is let go.
    std::lock_guard lock(m_mutex);
    m_set = true;
    for (Waiter* waiter : m_waiters) {
        std::lock_guard waiterLock(waiter->mutex);
        waiter->pending = true;
        waiter->poked.notify_one();
    }
    if (m_type == EventType::Notification)
        m_changed.notify_all();
    else
        m_changed.notify_one();
}

void KernelEvent::reset() {
    std::lock_guard lock(m_mutex);
    m_set = false;
}

bool KernelEvent::isSet() const {
    std::lock_guard lock(m_mutex);
    return m_set;
}

bool KernelEvent::wait(std::optional<std::chrono::milliseconds> timeout) {
    std::unique_lock lock(m_mutex);
    auto ready = [this] { return m_set; };
    if (timeout) {
        if (!m_changed.wait_for(lock, *timeout, ready)) return false;
    } else {
        m_changed.wait(lock, ready);
    }
    if (m_type == EventType::Synchronization) m_set = false;
    return true;
}

bool KernelEvent::tryTake() {
    std::lock_guard lock(m_mutex);
    if (!m_set) return false;
    if (m_type == EventType::Synchronization) m_set = false;
    return true;
}

void KernelEvent::attach(Waiter* waiter) {
    std::lock_guard lock(m_mutex);
    m_waiters.push_back(waiter);
}

void KernelEvent::detach(Waiter* waiter) {
    std::lock_guard lock(m_mutex);
    m_waiters.erase(std::remove(m_waiters.begin(), m_waiters.end(), waiter), m_waiters.end());
}

int WaitForEither(KernelEvent& first, KernelEvent& second) {
    KernelEvent::Waiter waiter;
    first.attach(&waiter);
    second.attach(&waiter);
    int taken = -1;
    while (taken < 0) {
        if (first.tryTake()) {
            taken = 0;
        } else if (second.tryTake()) {
            taken = 1;
        } else {
            std::unique_lock lock(waiter.mutex);
            waiter.poked.wait(lock, [&] { return waiter.pending; });
            waiter.pending = false;
        }
    }
    first.detach(&waiter);
    second.detach(&waiter);
    return taken;
}

}  // namespace wdm
