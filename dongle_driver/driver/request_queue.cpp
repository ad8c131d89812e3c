#include "dongle_driver/driver/request_queue.h"

#include <algorithm>
#include <vector>

namespace kirva {

using wdm::Status;

Status RequestQueue::admit(wdm::IoRequest& request, Handler handler) {
    std::unique_lock lock(m_lock);
    if (m_failure != Status::Success) {
        const Status failure = m_failure;
        lock.unlock();
        request.complete(failure, 0);
        return failure;
    }
    if (m_stallCount > 0) {
        request.markPending();
        request.setCancelRoutine([this](wdm::IoRequest& cancelled) { onCancel(cancelled); });
        // A cancel that came before the routine was set is honoured here; one
        // that races with us finds the request in the list once we let go.
        if (request.cancelled() && request.takeCancelRoutine()) {
            lock.unlock();
            request.complete(Status::Cancelled, 0);
            return Status::Pending;
        }
        m_held.push_back({&request, std::move(handler)});
        return Status::Pending;
    }
    ++m_inProgress;
    m_idle.reset();
    lock.unlock();
    return run(request, handler);
}

Status RequestQueue::run(wdm::IoRequest& request, const Handler& handler) {
    const Status status = handler(request);
    std::lock_guard lock(m_lock);
    if (--m_inProgress == 0) m_idle.set();
    return status;
}

void RequestQueue::onCancel(wdm::IoRequest& request) {
    bool found = false;
    {
        std::lock_guard lock(m_lock);
        auto held = std::find_if(m_held.begin(), m_held.end(), [&](const Held& h) { return h.request == &request; });
        if (held != m_held.end()) {
            m_held.erase(held);
            found = true;
        }
    }
    if (found) request.complete(Status::Cancelled, 0);
}

void RequestQueue::stall() {
    {
        std::lock_guard lock(m_lock);
        ++m_stallCount;
    }
    m_idle.wait();
}

void RequestQueue::restart() {
    std::deque<Held> ready;
    {
        std::lock_guard lock(m_lock);
        if (m_stallCount > 0) --m_stallCount;
        if (m_stallCount > 0) return;
        ready.swap(m_held);
        m_inProgress += static_cast<int>(ready.size());
        if (m_inProgress > 0) m_idle.reset();
    }
    for (auto& held : ready) {
        // A request whose cancel routine is already taken is being cancelled.
        if (!held.request->takeCancelRoutine()) {
            std::lock_guard lock(m_lock);
            if (--m_inProgress == 0) m_idle.set();
            continue;
        }
        run(*held.request, held.handler);
    }
}

void RequestQueue::failAll(Status status) {
    std::deque<Held> failed;
    {
        std::lock_guard lock(m_lock);
        m_failure = status;
        failed.swap(m_held);
    }
    for (auto& held : failed)
        if (held.request->takeCancelRoutine()) held.request->complete(status, 0);
}

void RequestQueue::clearFailure() {
    std::lock_guard lock(m_lock);
    m_failure = Status::Success;
}

void RequestQueue::cancelFile(std::uint64_t fileId) {
    std::vector<Held> cancelled;
    {
        std::lock_guard lock(m_lock);
        for (auto it = m_held.begin(); it != m_held.end();) {
            if (it->request->fileId == fileId) {
                cancelled.push_back(*it);
                it = m_held.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& held : cancelled)
        if (held.request->takeCancelRoutine()) held.request->complete(Status::Cancelled, 0);
}

std::size_t RequestQueue::heldCount() const {
    std::lock_guard lock(m_lock);
    return m_held.size();
}

bool RequestQueue::stalled() const {
    std::lock_guard lock(m_lock);
    return m_stallCount > 0;
}

}  // namespace kirva
