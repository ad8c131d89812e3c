#include "dongle_driver/host/driver_host.h"

#include <algorithm>

#include "dongle_driver/driver/kirva_udx_driver.h"
#include "dongle_driver/interface/dongle_interface.h"

namespace kirva {

using wdm::IoRequest;
using wdm::MajorFunction;
using wdm::Status;

DriverHost::DriverHost() = default;

DriverHost::~DriverHost() {
    if (devicePresent()) removeOrderly();
    if (m_driver.unload && m_driver.extension) m_driver.unload(m_driver);
}

Status DriverHost::load() {
    return DriverEntry(m_driver, m_io, "\\Registry\\Machine\\System\\CurrentControlSet\\Services\\KIRVA_UDX");
}

DriverTrace& DriverHost::trace() { return TraceOf(m_driver); }

Status DriverHost::plugInStopped(std::shared_ptr<wdm::usb::UsbDevicePort> port) {
    std::lock_guard pnpLock(m_pnpMutex);
    if (m_physical) return Status::ObjectNameCollision;
    m_port = std::move(port);
    m_physical = m_bus.plugIn(m_port);
    if (!m_physical) return Status::InsufficientResources;
    const Status added = m_pnp.addDevice(m_driver, *m_physical);
    if (added != Status::Success) {
        m_io.deleteDevice(*m_physical);
        m_physical = nullptr;
        return added;
    }
    std::unique_lock gate(m_gate);
    m_device = m_io.resolve(kDeviceName);
    return Status::Success;
}

Status DriverHost::start() {
    std::lock_guard pnpLock(m_pnpMutex);
    if (!m_physical) return Status::NoSuchDevice;
    return m_pnp.start(*m_physical);
}

Status DriverHost::plugIn(std::shared_ptr<wdm::usb::UsbDevicePort> port) {
    const Status added = plugInStopped(std::move(port));
    if (added != Status::Success) return added;
    return start();
}

void DriverHost::finishRemoval() {
    {
        // The remove request deletes the device object (it reaches the bus's
        // device on its way down): nobody may be inside the driver meanwhile.
        std::unique_lock gate(m_gate);
        m_pnp.remove(*m_physical);
        m_device = nullptr;
    }
    m_io.deleteDevice(*m_physical);
    m_physical = nullptr;
    m_port.reset();
}

void DriverHost::pullOut() {
    std::lock_guard pnpLock(m_pnpMutex);
    if (!m_physical) return;
    m_bus.unplug(*m_physical);
    m_pnp.surpriseRemoval(*m_physical);
    finishRemoval();
}

Status DriverHost::queryRemove() {
    std::lock_guard pnpLock(m_pnpMutex);
    if (!m_physical) return Status::NoSuchDevice;
    return m_pnp.queryRemove(*m_physical);
}

Status DriverHost::cancelRemove() {
    std::lock_guard pnpLock(m_pnpMutex);
    if (!m_physical) return Status::NoSuchDevice;
    return m_pnp.cancelRemove(*m_physical);
}

Status DriverHost::removeOrderly() {
    std::lock_guard pnpLock(m_pnpMutex);
    if (!m_physical) return Status::NoSuchDevice;
    const Status query = m_pnp.queryRemove(*m_physical);
    if (query != Status::Success) {
        m_pnp.cancelRemove(*m_physical);
        return query;
    }
    finishRemoval();
    return Status::Success;
}

bool DriverHost::devicePresent() const {
    std::shared_lock gate(m_gate);
    return m_device != nullptr;
}

wdm::DeviceObject* DriverHost::functionDevice() const {
    std::shared_lock gate(m_gate);
    return m_device;
}

Status DriverHost::send(IoRequest& request) {
    Status status;
    {
        std::shared_lock gate(m_gate);
        if (!m_device) return Status::NoSuchDevice;
        status = m_io.callDriver(*m_device, request);
    }
    // A held request is waited for outside the gate: removal completes it.
    if (status == Status::Pending) {
        request.waitCompleted();
        return request.status;
    }
    return status;
}

std::unique_ptr<HostFile> DriverHost::open(std::string_view path, Status& status) {
    {
        std::shared_lock gate(m_gate);
        if (!m_device || m_io.resolve(path) != m_device) {
            status = Status::ObjectNameNotFound;
            return nullptr;
        }
    }
    std::uint64_t id;
    {
        std::lock_guard lock(m_pnpMutex);
        id = m_nextFileId++;
    }
    IoRequest create(MajorFunction::Create);
    create.fileId = id;
    status = send(create);
    if (status != Status::Success) return nullptr;
    return std::unique_ptr<HostFile>(new HostFile(*this, id));
}

HostFile::~HostFile() { close(); }

Status HostFile::write(std::span<const std::uint8_t> frame) {
    if (!m_open) return Status::InvalidHandle;
    IoRequest request(MajorFunction::Write);
    request.fileId = m_id;
    request.length = frame.size();
    request.systemBuffer.assign(frame.begin(), frame.end());
    return m_host.send(request);
}

Status HostFile::control(std::uint32_t code, std::span<const std::uint8_t> input, std::size_t outputSize,
                         std::vector<std::uint8_t>& output) {
    output.clear();
    if (!m_open) return Status::InvalidHandle;
    IoRequest request(MajorFunction::DeviceControl);
    request.fileId = m_id;
    request.ioControlCode = code;
    request.inputLength = input.size();
    request.outputLength = outputSize;
    request.systemBuffer.assign(std::max(input.size(), outputSize), 0);
    std::copy(input.begin(), input.end(), request.systemBuffer.begin());
    const Status status = m_host.send(request);
    // The caller gets what the device said it produced, never more than it asked for.
    const std::size_t count = std::min({request.information, outputSize, request.systemBuffer.size()});
    if (status == Status::Success) output.assign(request.systemBuffer.begin(), request.systemBuffer.begin() + count);
    return status;
}

Status HostFile::read(std::size_t length) {
    if (!m_open) return Status::InvalidHandle;
    IoRequest request(MajorFunction::Read);
    request.fileId = m_id;
    request.length = length;
    return m_host.send(request);
}

void HostFile::close() {
    if (!m_open) return;
    m_open = false;
    IoRequest cleanup(MajorFunction::Cleanup);
    cleanup.fileId = m_id;
    (void)m_host.send(cleanup);
    IoRequest closeRequest(MajorFunction::Close);
    closeRequest.fileId = m_id;
    (void)m_host.send(closeRequest);
}

}  // namespace kirva
