#pragma once
// Device object of the kernel model: one level of a device stack.

#include <cstdint>
#include <memory>
#include <string>

namespace wdm {

class DriverObject;

// Base of every driver's per-device data.
struct DeviceExtension {
    virtual ~DeviceExtension() = default;
};

struct DeviceFlags {
    bool bufferedIo = false;
    bool powerPageable = false;
    bool initializing = true;
};

class DeviceObject {
public:
    DeviceObject(DriverObject& driver, std::string name, std::uint32_t deviceType)
        : m_driver(driver), m_name(std::move(name)), m_deviceType(deviceType) {}
    DeviceObject(const DeviceObject&) = delete;
    DeviceObject& operator=(const DeviceObject&) = delete;

    DriverObject& driver() const { return m_driver; }
    const std::string& name() const { return m_name; }
    std::uint32_t deviceType() const { return m_deviceType; }

    DeviceFlags flags;
    bool secureOpen = false;
    bool exclusive = false;
    std::unique_ptr<DeviceExtension> extension;
    // The device this one is attached on top of, and the one attached on top
    // of it (set by IoManager::attach).
    DeviceObject* lower = nullptr;
    DeviceObject* upper = nullptr;

    template <typename T>
    T& extensionAs() {
        return static_cast<T&>(*extension);
    }

private:
    DriverObject& m_driver;
    const std::string m_name;
    const std::uint32_t m_deviceType;
};

}  // namespace wdm
