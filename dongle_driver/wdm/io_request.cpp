#include "dongle_driver/wdm/io_request.h"

namespace wdm {

void IoRequest::pushCompletion(CompletionRoutine routine) {
    std::lock_guard lock(m_mutex);
    m_completions.push_back(std::move(routine));
}

void IoRequest::setCancelRoutine(CancelRoutine routine) {
    std::lock_guard lock(m_mutex);
    m_cancelRoutine = std::move(routine);
}

IoRequest::CancelRoutine IoRequest::takeCancelRoutine() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_cancelRoutine, nullptr);
}

bool IoRequest::cancelled() const {
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}

bool IoRequest::cancel() {
    CancelRoutine routine;
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        routine = std::exchange(m_cancelRoutine, nullptr);
    }
    if (!routine) return false;
    routine(*this);
    return true;
}

bool IoRequest::complete(Status finalStatus, std::size_t info) {
    {
        std::lock_guard lock(m_mutex);
        if (m_completed) return false;
        m_cancelRoutine = nullptr;
    }
    status = finalStatus;
    information = info;
    for (;;) {
        CompletionRoutine routine;
        {
            std::lock_guard lock(m_mutex);
            if (m_completions.empty()) break;
            routine = std::move(m_completions.back());
            m_completions.pop_back();
        }
        if (routine(*this) == CompletionAction::StopCompletion) return true;
    }
    {
        std::lock_guard lock(m_mutex);
        m_completed = true;
    }
    m_done.set();
    return true;
}

bool IoRequest::completed() const {
    std::lock_guard lock(m_mutex);
    return m_completed;
}

void IoRequest::reuse() {
    std::lock_guard lock(m_mutex);
    m_completions.clear();
    m_cancelRoutine = nullptr;
    m_cancelled = false;
    m_completed = false;
    m_pending = false;
    status = Status::Pending;
    information = 0;
    m_done.reset();
}

}  // namespace wdm
