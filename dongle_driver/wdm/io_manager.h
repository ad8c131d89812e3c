#pragma once
// I/O manager of the kernel model: owns device objects, the device namespace
// (device names and symbolic links), pool memory and the routing of requests
// to drivers.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "dongle_driver/wdm/device_object.h"
#include "dongle_driver/wdm/driver_object.h"
#include "dongle_driver/wdm/io_request.h"
#include "dongle_driver/wdm/pool.h"
#include "dongle_driver/wdm/status.h"

namespace wdm {

class IoManager {
public:
    IoManager() = default;
    IoManager(const IoManager&) = delete;
    IoManager& operator=(const IoManager&) = delete;
    ~IoManager();

    Pool& pool() { return m_pool; }

    // Creates a device object; an empty name makes an unnamed one. Fails with
    // ObjectNameCollision for a name in use and InsufficientResources when the
    // pool refuses.
    Status createDevice(DriverObject& driver, std::string name, std::uint32_t deviceType,
                        std::unique_ptr<DeviceExtension> extension, DeviceObject** created);
    void deleteDevice(DeviceObject& device);

    // Puts `device` on top of the stack whose top is currently above `target`;
    // returns the device it now sits on, or nullptr when `target` is gone.
    DeviceObject* attach(DeviceObject& device, DeviceObject& target);
    void detach(DeviceObject& lower);

    Status createSymbolicLink(std::string_view link, std::string_view deviceName);
    Status deleteSymbolicLink(std::string_view link);
    // The device that a path like "\\.\NAME" or "\DosDevices\NAME" names.
    DeviceObject* resolve(std::string_view path) const;
    bool linkExists(std::string_view link) const;
    // The top of the stack that contains `device`.
    DeviceObject& stackTop(DeviceObject& device) const;

    // Sends the request to the device's driver; returns the dispatch status.
    Status callDriver(DeviceObject& device, IoRequest& request);
    // Sends the request and blocks until it has completed; returns its status.
    Status callDriverAndWait(DeviceObject& device, IoRequest& request);

private:
    mutable std::mutex m_mutex;
    Pool m_pool;
    std::vector<std::unique_ptr<DeviceObject>> m_devices;
    std::map<std::string, std::string, std::less<>> m_links;  // link -> device name
};

// Link names of the Win32 device space: "\\.\NAME" resolves through
// "\DosDevices\NAME".
std::string DosDevicesLinkFor(std::string_view path);

}  // namespace wdm
