#include "dongle_driver/wdm/system_thread.h"

#include <system_error>

namespace wdm {

bool SystemThread::start(std::function<void()> routine) {
    if (m_thread.joinable()) return false;
    try {
        m_thread = std::thread(std::move(routine));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void SystemThread::join() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

}  // namespace wdm
