#pragma once
// The device's request queue: requests run at once while the device is
// ready, are held while it is stalled (before start, during a pending stop or
// removal, while powered down) and run in order when it restarts. Held
// requests can be cancelled; a failure status fails everything arriving.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "dongle_driver/wdm/io_request.h"
#include "dongle_driver/wdm/kernel_event.h"
#include "dongle_driver/wdm/spin_lock.h"

namespace kirva {

class RequestQueue {
public:
    // Runs one request and completes it.
    using Handler = std::function<wdm::Status(wdm::IoRequest&)>;

    // Runs the request now, holds it (Pending) or fails it.
    wdm::Status admit(wdm::IoRequest& request, Handler handler);
    // Holds every new request and waits until none is running.
    void stall();
    // Undoes one stall; at zero the held requests run in order.
    void restart();
    // Completes every held request with `status`; later ones fail with it too.
    void failAll(wdm::Status status);
    void clearFailure();
    // Completes the held requests of one open handle as cancelled.
    void cancelFile(std::uint64_t fileId);

    std::size_t heldCount() const;
    bool stalled() const;

private:
    struct Held {
        wdm::IoRequest* request;
        Handler handler;
    };
    wdm::Status run(wdm::IoRequest& request, const Handler& handler);
    void onCancel(wdm::IoRequest& request);

    mutable wdm::SpinLock m_lock;
    std::deque<Held> m_held;
    int m_stallCount = 1;  // held until the device has started
    int m_inProgress = 0;
    wdm::Status m_failure = wdm::Status::Success;
    wdm::KernelEvent m_idle{wdm::EventType::Notification, true};
};

}  // namespace kirva
