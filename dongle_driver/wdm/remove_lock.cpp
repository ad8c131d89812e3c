#include "dongle_driver/wdm/remove_lock.h"

namespace wdm {

Status RemoveLock::acquire() {
    ++m_count;
    if (m_removing.load()) {
        release();
        return Status::DeletePending;
    }
    return Status::Success;
}

void RemoveLock::release() {
    if (--m_count == 0) m_removeEvent.set();
}

void RemoveLock::releaseAndWait() {
    m_removing = true;
    release();
    m_removeEvent.wait();
}

}  // namespace wdm
