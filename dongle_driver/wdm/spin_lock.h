#pragma once
// Spin lock of the kernel model. Held only for short, non-blocking sections;
// code holding it never calls into other drivers.

#include <mutex>

namespace wdm {

class SpinLock {
public:
    void acquire() { m_mutex.lock(); }
    void release() { m_mutex.unlock(); }
    // BasicLockable, so std::lock_guard and std::unique_lock work on it.
    void lock() { acquire(); }
    void unlock() { release(); }

private:
    std::mutex m_mutex;
};

}  // namespace wdm
