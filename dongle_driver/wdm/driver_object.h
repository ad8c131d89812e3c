#pragma once
// Driver object of the kernel model: the handlers a driver registers.

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "dongle_driver/wdm/io_request.h"
#include "dongle_driver/wdm/status.h"

namespace wdm {

class DeviceObject;

// Per-driver data (what a driver keeps for itself between calls).
struct DriverExtension {
    virtual ~DriverExtension() = default;
};

class DriverObject {
public:
    using DispatchRoutine = std::function<Status(DeviceObject&, IoRequest&)>;
    using AddDeviceRoutine = std::function<Status(DriverObject&, DeviceObject& physicalDevice)>;
    using UnloadRoutine = std::function<void(DriverObject&)>;

    explicit DriverObject(std::string name) : m_name(std::move(name)) {}
    DriverObject(const DriverObject&) = delete;
    DriverObject& operator=(const DriverObject&) = delete;

    const std::string& name() const { return m_name; }

    std::array<DispatchRoutine, kMajorFunctionCount> dispatch{};
    AddDeviceRoutine addDevice;
    UnloadRoutine unload;
    std::unique_ptr<DriverExtension> extension;

    DispatchRoutine& handler(MajorFunction major) { return dispatch[static_cast<std::size_t>(major)]; }

    template <typename T>
    T& extensionAs() {
        return static_cast<T&>(*extension);
    }

private:
    const std::string m_name;
};

}  // namespace wdm
