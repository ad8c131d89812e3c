#pragma once
// The driver host's way to a real dongle: a libusb context with its one
// event thread, the dongle picked by vendor and product identifier, and its
// arrivals and departures (libusb hotplug where the system offers it; a
// transfer that finds the device gone otherwise). Arrivals and departures
// are queued for the host's main loop, which polls eventHandle().

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "dongle_driver/host/libusb_port.h"
#include "dongle_driver/host/usb_id.h"

struct libusb_context;
struct libusb_device;

namespace kirva {

class LibusbBackend {
public:
    enum class Change { Arrived, Left };

    LibusbBackend() = default;
    ~LibusbBackend();
    LibusbBackend(const LibusbBackend&) = delete;
    LibusbBackend& operator=(const LibusbBackend&) = delete;

    // Starts libusb and watches for the dongle `id`; a dongle already
    // plugged in is reported as an arrival. False with a message.
    bool start(UsbId id, std::string& error);
    // Readable while changes are queued.
    int eventHandle() const { return m_eventFd; }
    // The next queued change; false when none is left.
    bool nextChange(Change& change);
    // Opens the dongle and claims its interface; nullptr with a message that
    // tells a missing device, a permission problem and a claimed one apart.
    std::shared_ptr<LibusbPort> open(std::string& error);
    bool hotplug() const { return m_hotplug; }

private:
    void post(Change change);
    void eventLoop();
    static int OnHotplug(libusb_context* context, libusb_device* device, int event, void* self);

    UsbId m_id;
    libusb_context* m_context = nullptr;
    int m_eventFd = -1;
    bool m_hotplug = false;
    int m_hotplugHandle = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_events;
    std::mutex m_mutex;
    std::deque<Change> m_changes;
};

}  // namespace kirva
