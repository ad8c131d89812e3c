#pragma once
// Remove lock: counts the requests a device is working on, so removal can
// wait until the last one has left. The count starts at 1 for the device
// itself; releaseAndWait() drops that reference and blocks until it is 0.

#include <atomic>

#include "dongle_driver/wdm/kernel_event.h"
#include "dongle_driver/wdm/status.h"

namespace wdm {

class RemoveLock {
public:
    // DeletePending once removal has begun.
    [[nodiscard]] Status acquire();
    void release();
    // Refuses new acquisitions, drops the device's own reference and waits
    // for the outstanding ones to finish.
    void releaseAndWait();
    long outstanding() const { return m_count.load(); }

private:
    std::atomic<long> m_count{1};
    std::atomic<bool> m_removing{false};
    KernelEvent m_removeEvent{EventType::Notification};
};

}  // namespace wdm
