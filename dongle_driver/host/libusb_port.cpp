#include "dongle_driver/host/libusb_port.h"

#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace kirva {

using wdm::usb::UsbdStatus;

wdm::usb::UsbdStatus UsbdStatusForTransfer(int transferStatus) {
    switch (transferStatus) {
        case LIBUSB_TRANSFER_COMPLETED: return UsbdStatus::Success;
        case LIBUSB_TRANSFER_STALL: return UsbdStatus::Stall;
        case LIBUSB_TRANSFER_TIMED_OUT: return UsbdStatus::Timeout;
        case LIBUSB_TRANSFER_CANCELLED: return UsbdStatus::Cancelled;
        case LIBUSB_TRANSFER_NO_DEVICE: return UsbdStatus::DeviceGone;
        case LIBUSB_TRANSFER_OVERFLOW: return UsbdStatus::BufferOverrun;
        default: return UsbdStatus::Error;
    }
}

wdm::usb::UsbdStatus UsbdStatusForError(int error) {
    switch (error) {
        case LIBUSB_SUCCESS: return UsbdStatus::Success;
        case LIBUSB_ERROR_NO_DEVICE: return UsbdStatus::DeviceGone;
        case LIBUSB_ERROR_PIPE: return UsbdStatus::Stall;
        case LIBUSB_ERROR_TIMEOUT: return UsbdStatus::Timeout;
        case LIBUSB_ERROR_OVERFLOW: return UsbdStatus::BufferOverrun;
        case LIBUSB_ERROR_NOT_FOUND:
        case LIBUSB_ERROR_INVALID_PARAM: return UsbdStatus::InvalidPipe;
        default: return UsbdStatus::Error;
    }
}

namespace {

// Completion of a transfer that a thread waits for.
struct SyncWait {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
};

void LIBUSB_CALL OnSyncDone(libusb_transfer* transfer) {
    auto* wait = static_cast<SyncWait*>(transfer->user_data);
    std::lock_guard lock(wait->mutex);
    wait->done = true;
    wait->changed.notify_all();
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

struct LibusbPort::InRead {
    LibusbPort* port;
    libusb_transfer* transfer;
    BulkInCompletion done;
};

LibusbPort::LibusbPort(libusb_device_handle* handle, GoneHandler gone)
    : m_handle(handle), m_goneHandler(std::move(gone)) {}

LibusbPort::~LibusbPort() {
    // Reads in flight end (cancelled) before the handle goes; their
    // completions run on the event thread.
    abortPipe(0x81);
    {
        std::unique_lock lock(m_mutex);
        m_readsChanged.wait_for(lock, std::chrono::seconds(5), [this] { return m_reads.empty(); });
    }
    libusb_release_interface(m_handle, 0);
    libusb_close(m_handle);
}

void LibusbPort::markGone() {
    if (!m_gone.exchange(true) && m_goneHandler) m_goneHandler();
}

std::vector<std::uint8_t> LibusbPort::deviceDescriptor() {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(libusb_get_device(m_handle), &d) != LIBUSB_SUCCESS) return {};
    std::vector<std::uint8_t> raw = {d.bLength, d.bDescriptorType};
    Put16(raw, d.bcdUSB);
    raw.insert(raw.end(), {d.bDeviceClass, d.bDeviceSubClass, d.bDeviceProtocol, d.bMaxPacketSize0});
    Put16(raw, d.idVendor);
    Put16(raw, d.idProduct);
    Put16(raw, d.bcdDevice);
    raw.insert(raw.end(), {d.iManufacturer, d.iProduct, d.iSerialNumber, d.bNumConfigurations});
    return raw;
}

std::vector<std::uint8_t> LibusbPort::configurationDescriptor() {
    // The descriptors as the device sent them, rebuilt from libusb's copy
    // (read once at enumeration), in the order of the device's own.
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_config_descriptor(libusb_get_device(m_handle), 0, &config) != LIBUSB_SUCCESS) return {};
    std::vector<std::uint8_t> raw = {config->bLength, config->bDescriptorType};
    Put16(raw, 0);  // total length, filled in below
    raw.insert(raw.end(), {config->bNumInterfaces, config->bConfigurationValue, config->iConfiguration,
                           config->bmAttributes, config->MaxPower});
    raw.insert(raw.end(), config->extra, config->extra + config->extra_length);
    for (int i = 0; i < config->bNumInterfaces; ++i) {
        const auto& interface = config->interface[i];
        for (int a = 0; a < interface.num_altsetting; ++a) {
            const auto& alt = interface.altsetting[a];
            raw.insert(raw.end(), {alt.bLength, alt.bDescriptorType, alt.bInterfaceNumber, alt.bAlternateSetting,
                                   alt.bNumEndpoints, alt.bInterfaceClass, alt.bInterfaceSubClass,
                                   alt.bInterfaceProtocol, alt.iInterface});
            raw.insert(raw.end(), alt.extra, alt.extra + alt.extra_length);
            for (int e = 0; e < alt.bNumEndpoints; ++e) {
                const auto& endpoint = alt.endpoint[e];
                raw.insert(raw.end(), {endpoint.bLength, endpoint.bDescriptorType, endpoint.bEndpointAddress,
                                       endpoint.bmAttributes});
                Put16(raw, endpoint.wMaxPacketSize);
                raw.push_back(endpoint.bInterval);
                // Audio endpoints are 9 bytes long; keep what the length says.
                for (int pad = 7; pad < endpoint.bLength; ++pad) raw.push_back(0);
                raw.insert(raw.end(), endpoint.extra, endpoint.extra + endpoint.extra_length);
            }
        }
    }
    libusb_free_config_descriptor(config);
    raw[2] = static_cast<std::uint8_t>(raw.size() & 0xFF);
    raw[3] = static_cast<std::uint8_t>(raw.size() >> 8);
    return raw;
}

UsbdStatus LibusbPort::setConfiguration(std::uint8_t value) {
    if (m_gone) return UsbdStatus::DeviceGone;
    if (value == 0) {
        // The driver gives the configuration back; the device stays as the
        // system configured it (other programs may look at it), our pipes close.
        m_configured = false;
        return UsbdStatus::Success;
    }
    int current = 0;
    if (libusb_get_configuration(m_handle, &current) == LIBUSB_SUCCESS && current != value) {
        libusb_release_interface(m_handle, 0);
        int result = libusb_set_configuration(m_handle, value);
        if (result == LIBUSB_SUCCESS) result = libusb_claim_interface(m_handle, 0);
        if (result != LIBUSB_SUCCESS) return UsbdStatusForError(result);
    }
    m_configured = true;
    return UsbdStatus::Success;
}

UsbdStatus LibusbPort::runSync(libusb_transfer* transfer, std::size_t& transferred) {
    SyncWait wait;
    transfer->callback = OnSyncDone;
    transfer->user_data = &wait;
    const int submitted = libusb_submit_transfer(transfer);
    if (submitted != LIBUSB_SUCCESS) {
        libusb_free_transfer(transfer);
        if (submitted == LIBUSB_ERROR_NO_DEVICE) markGone();
        return UsbdStatusForError(submitted);
    }
    {
        // The transfer has its own limit; this one only guards against an
        // event thread that no longer runs.
        std::unique_lock lock(wait.mutex);
        if (!wait.changed.wait_for(lock, std::chrono::milliseconds(kTransferTimeoutMs + 3000), [&] { return wait.done; })) {
            lock.unlock();
            libusb_cancel_transfer(transfer);
            lock.lock();
            wait.changed.wait(lock, [&] { return wait.done; });
        }
    }
    const UsbdStatus status = UsbdStatusForTransfer(transfer->status);
    transferred = static_cast<std::size_t>(std::max(transfer->actual_length, 0));
    libusb_free_transfer(transfer);
    if (status == UsbdStatus::DeviceGone) markGone();
    return status;
}

UsbdStatus LibusbPort::controlTransfer(const wdm::usb::ControlSetup& setup, std::span<std::uint8_t> data,
                                       std::size_t& transferred) {
    transferred = 0;
    if (m_gone) return UsbdStatus::DeviceGone;
    if (data.size() > 4096) return UsbdStatus::Error;
    const bool in = setup.direction == wdm::usb::Direction::In;
    std::vector<std::uint8_t> buffer(LIBUSB_CONTROL_SETUP_SIZE + data.size());
    libusb_fill_control_setup(buffer.data(),
                              static_cast<std::uint8_t>(static_cast<int>(LIBUSB_REQUEST_TYPE_VENDOR) |
                                                        static_cast<int>(LIBUSB_RECIPIENT_DEVICE) |
                                                        (in ? static_cast<int>(LIBUSB_ENDPOINT_IN) : 0)),
                              setup.request, setup.value, setup.index, static_cast<std::uint16_t>(data.size()));
    if (!in) std::copy(data.begin(), data.end(), buffer.begin() + LIBUSB_CONTROL_SETUP_SIZE);
    libusb_transfer* transfer = libusb_alloc_transfer(0);
    if (!transfer) return UsbdStatus::Error;
    libusb_fill_control_transfer(transfer, m_handle, buffer.data(), nullptr, nullptr, kTransferTimeoutMs);
    const UsbdStatus status = runSync(transfer, transferred);
    transferred = std::min(transferred, data.size());
    if (in && status == UsbdStatus::Success)
        std::copy_n(buffer.begin() + LIBUSB_CONTROL_SETUP_SIZE, transferred, data.begin());
    return status;
}

UsbdStatus LibusbPort::bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data) {
    if (m_gone) return UsbdStatus::DeviceGone;
    if (!m_configured) return UsbdStatus::InvalidPipe;
    std::vector<std::uint8_t> buffer(data.begin(), data.end());
    libusb_transfer* transfer = libusb_alloc_transfer(0);
    if (!transfer) return UsbdStatus::Error;
    libusb_fill_bulk_transfer(transfer, m_handle, endpoint, buffer.data(), static_cast<int>(buffer.size()), nullptr,
                              nullptr, kTransferTimeoutMs);
    std::size_t transferred = 0;
    const UsbdStatus status = runSync(transfer, transferred);
    if (status == UsbdStatus::Success && transferred != data.size()) return UsbdStatus::Error;
    return status;
}

void LIBUSB_CALL LibusbPort::OnInDone(libusb_transfer* transfer) {
    auto* read = static_cast<InRead*>(transfer->user_data);
    LibusbPort* port = read->port;
    UsbdStatus status = UsbdStatusForTransfer(transfer->status);
    // A cancel that raced with the device's departure reads as the departure.
    if (status == UsbdStatus::Cancelled && port->m_gone) status = UsbdStatus::DeviceGone;
    if (status == UsbdStatus::Stall) libusb_clear_halt(port->m_handle, transfer->endpoint);
    const std::size_t got = status == UsbdStatus::Success ? static_cast<std::size_t>(transfer->actual_length) : 0;
    auto done = std::move(read->done);
    {
        std::lock_guard lock(port->m_mutex);
        port->m_reads.erase(read);
    }
    libusb_free_transfer(transfer);
    delete read;
    if (status == UsbdStatus::DeviceGone) port->markGone();
    done(status, got);
    std::lock_guard lock(port->m_mutex);
    port->m_readsChanged.notify_all();
}

void LibusbPort::bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> buffer, BulkInCompletion done) {
    if (m_gone || !m_configured) {
        done(m_gone ? UsbdStatus::DeviceGone : UsbdStatus::InvalidPipe, 0);
        return;
    }
    libusb_transfer* transfer = libusb_alloc_transfer(0);
    if (!transfer) {
        done(UsbdStatus::Error, 0);
        return;
    }
    auto* read = new InRead{this, transfer, std::move(done)};
    // No limit: the read waits for the next radio reply as long as the loop runs.
    libusb_fill_bulk_transfer(transfer, m_handle, endpoint, buffer.data(), static_cast<int>(buffer.size()), OnInDone,
                              read, 0);
    std::unique_lock lock(m_mutex);
    m_reads.insert(read);
    const int submitted = libusb_submit_transfer(transfer);
    if (submitted != LIBUSB_SUCCESS) {
        m_reads.erase(read);
        lock.unlock();
        auto failed = std::move(read->done);
        libusb_free_transfer(transfer);
        delete read;
        if (submitted == LIBUSB_ERROR_NO_DEVICE) markGone();
        failed(UsbdStatusForError(submitted), 0);
    }
}

void LibusbPort::abortPipe(std::uint8_t endpoint) {
    std::lock_guard lock(m_mutex);
    for (InRead* read : m_reads)
        if (read->transfer->endpoint == endpoint) libusb_cancel_transfer(read->transfer);
}

}  // namespace kirva
