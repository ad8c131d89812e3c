#include "dongle_driver/host/libusb_backend.h"

#include <libusb.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

namespace kirva {

namespace {

std::string IdText(UsbId id) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", id.vendor, id.product);
    return text;
}

}  // namespace

LibusbBackend::~LibusbBackend() {
    if (m_context) {
        if (m_hotplug) libusb_hotplug_deregister_callback(m_context, m_hotplugHandle);
        m_stop = true;
        libusb_interrupt_event_handler(m_context);  // also when the thread is not waiting yet
        if (m_events.joinable()) m_events.join();
        libusb_exit(m_context);
    }
    if (m_eventFd >= 0) ::close(m_eventFd);
}

bool LibusbBackend::start(UsbId id, std::string& error) {
    m_id = id;
    m_eventFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int initialised = libusb_init(&m_context);
    if (m_eventFd < 0 || initialised != LIBUSB_SUCCESS) {
        error = std::string("cannot start libusb: ") + libusb_strerror(initialised);
        m_context = nullptr;
        return false;
    }
    m_hotplug = libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) != 0;
    if (m_hotplug) {
        const int registered = libusb_hotplug_register_callback(
            m_context,
            static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
            LIBUSB_HOTPLUG_ENUMERATE, id.vendor, id.product, LIBUSB_HOTPLUG_MATCH_ANY,
            [](libusb_context* context, libusb_device* device, libusb_hotplug_event event, void* self) {
                return OnHotplug(context, device, static_cast<int>(event), self);
            },
            this, &m_hotplugHandle);
        if (registered != LIBUSB_SUCCESS) m_hotplug = false;
    }
    // Without hotplug the dongle is looked for once; its departure shows as
    // a transfer that finds no device.
    if (!m_hotplug) post(Change::Arrived);
    m_events = std::thread([this] { eventLoop(); });
    return true;
}

int LibusbBackend::OnHotplug(libusb_context*, libusb_device*, int event, void* self) {
    auto* backend = static_cast<LibusbBackend*>(self);
    backend->post(event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED ? Change::Arrived : Change::Left);
    return 0;  // stay registered
}

void LibusbBackend::post(Change change) {
    {
        std::lock_guard lock(m_mutex);
        m_changes.push_back(change);
    }
    const std::uint64_t one = 1;
    (void)::write(m_eventFd, &one, sizeof one);
}

bool LibusbBackend::nextChange(Change& change) {
    std::lock_guard lock(m_mutex);
    if (m_changes.empty()) {
        std::uint64_t drained = 0;
        (void)::read(m_eventFd, &drained, sizeof drained);
        return false;
    }
    change = m_changes.front();
    m_changes.pop_front();
    return true;
}

void LibusbBackend::eventLoop() {
    // Blocks in the system's poll until a transfer completes, a device comes
    // or goes, or the backend ends: no wake-ups while nothing happens.
    while (!m_stop.load()) libusb_handle_events_completed(m_context, nullptr);
}

std::shared_ptr<LibusbPort> LibusbBackend::open(std::string& error) {
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &list);
    libusb_device* found = nullptr;
    for (ssize_t i = 0; i < count && !found; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) == LIBUSB_SUCCESS &&
            descriptor.idVendor == m_id.vendor && descriptor.idProduct == m_id.product)
            found = list[i];
    }
    libusb_device_handle* handle = nullptr;
    int result = found ? libusb_open(found, &handle) : LIBUSB_ERROR_NO_DEVICE;
    if (count >= 0) libusb_free_device_list(list, 1);
    if (result == LIBUSB_ERROR_NO_DEVICE) {
        error = "no USB device " + IdText(m_id) + " is plugged in";
        return nullptr;
    }
    if (result == LIBUSB_ERROR_ACCESS) {
        error = "the USB device " + IdText(m_id) +
                " is there but cannot be opened: permission denied (install the udev rule, see docs/kirva_udx.md)";
        return nullptr;
    }
    if (result != LIBUSB_SUCCESS) {
        error = "cannot open the USB device " + IdText(m_id) + ": " + libusb_strerror(result);
        return nullptr;
    }
    // A kernel driver bound to the interface is asked to let go; one that
    // another program holds through usbfs is not taken away.
    (void)libusb_set_auto_detach_kernel_driver(handle, 1);
    result = libusb_claim_interface(handle, 0);
    if (result != LIBUSB_SUCCESS) {
        libusb_close(handle);
        error = result == LIBUSB_ERROR_BUSY
                    ? "the USB device " + IdText(m_id) + " is claimed by another program or driver"
                    : "cannot claim the USB device " + IdText(m_id) + ": " + libusb_strerror(result);
        return nullptr;
    }
    // A transfer that finds the device gone is its departure (where hotplug
    // reports it too, the host takes the second report as nothing new).
    auto gone = [this] { post(Change::Left); };
    return std::make_shared<LibusbPort>(handle, std::move(gone));
}

}  // namespace kirva
