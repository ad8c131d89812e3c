#include "dongle_driver/wdm/io_manager.h"

#include <algorithm>

namespace wdm {

IoManager::~IoManager() = default;

Status IoManager::createDevice(DriverObject& driver, std::string name, std::uint32_t deviceType,
                               std::unique_ptr<DeviceExtension> extension, DeviceObject** created) {
    *created = nullptr;
    std::lock_guard lock(m_mutex);
    if (!name.empty()) {
        for (const auto& device : m_devices)
            if (device->name() == name) return Status::ObjectNameCollision;
    }
    auto device = m_pool.make<DeviceObject>(driver, std::move(name), deviceType);
    if (!device) return Status::InsufficientResources;
    device->extension = std::move(extension);
    *created = device.get();
    m_devices.push_back(std::move(device));
    return Status::Success;
}

void IoManager::deleteDevice(DeviceObject& device) {
    std::lock_guard lock(m_mutex);
    if (device.upper) device.upper->lower = nullptr;
    if (device.lower) device.lower->upper = nullptr;
    std::erase_if(m_devices, [&](const auto& owned) { return owned.get() == &device; });
}

DeviceObject* IoManager::attach(DeviceObject& device, DeviceObject& target) {
    std::lock_guard lock(m_mutex);
    DeviceObject* top = &target;
    while (top->upper) top = top->upper;
    const bool present = std::any_of(m_devices.begin(), m_devices.end(),
                                     [&](const auto& owned) { return owned.get() == top; });
    if (!present) return nullptr;
    top->upper = &device;
    device.lower = top;
    return top;
}

void IoManager::detach(DeviceObject& lower) {
    std::lock_guard lock(m_mutex);
    if (lower.upper) lower.upper->lower = nullptr;
    lower.upper = nullptr;
}

std::string DosDevicesLinkFor(std::string_view path) {
    constexpr std::string_view win32Prefix = "\\\\.\\";
    if (path.substr(0, win32Prefix.size()) == win32Prefix)
        return "\\DosDevices\\" + std::string(path.substr(win32Prefix.size()));
    return std::string(path);
}

Status IoManager::createSymbolicLink(std::string_view link, std::string_view deviceName) {
    std::lock_guard lock(m_mutex);
    if (m_links.count(std::string(link))) return Status::ObjectNameCollision;
    m_links.emplace(std::string(link), std::string(deviceName));
    return Status::Success;
}

Status IoManager::deleteSymbolicLink(std::string_view link) {
    std::lock_guard lock(m_mutex);
    auto found = m_links.find(link);
    if (found == m_links.end()) return Status::ObjectNameNotFound;
    m_links.erase(found);
    return Status::Success;
}

bool IoManager::linkExists(std::string_view link) const {
    std::lock_guard lock(m_mutex);
    return m_links.find(link) != m_links.end();
}

DeviceObject* IoManager::resolve(std::string_view path) const {
    std::lock_guard lock(m_mutex);
    auto link = m_links.find(DosDevicesLinkFor(path));
    const std::string target = link != m_links.end() ? link->second : std::string(path);
    for (const auto& device : m_devices)
        if (!device->name().empty() && device->name() == target) return device.get();
    return nullptr;
}

DeviceObject& IoManager::stackTop(DeviceObject& device) const {
    std::lock_guard lock(m_mutex);
    DeviceObject* top = &device;
    while (top->upper) top = top->upper;
    return *top;
}

Status IoManager::callDriver(DeviceObject& device, IoRequest& request) {
    auto& routine = device.driver().handler(request.major());
    if (!routine) {
        request.complete(Status::InvalidDeviceRequest, 0);
        return Status::InvalidDeviceRequest;
    }
    return routine(device, request);
}

Status IoManager::callDriverAndWait(DeviceObject& device, IoRequest& request) {
    const Status status = callDriver(device, request);
    if (status == Status::Pending) {
        request.waitCompleted();
        return request.status;
    }
    return status;
}

}  // namespace wdm
