#pragma once
// Entry points of the dongle driver: driver entry registers the handlers,
// add-device builds the device object with its names on top of the USB
// device's stack.

#include <string>
#include <string_view>

#include "dongle_driver/driver/driver_trace.h"
#include "dongle_driver/wdm/driver_object.h"
#include "dongle_driver/wdm/io_manager.h"
#include "dongle_driver/wdm/status.h"

namespace kirva {

struct WdmVersion {
    int major = 1;
    int minor = 0;
};

// What the driver keeps for itself between calls.
struct DriverGlobals : wdm::DriverExtension {
    DriverGlobals(wdm::IoManager& manager) : io(manager) {}
    wdm::IoManager& io;
    std::string registryPath;
    WdmVersion version;
    DriverTrace trace;
};

// The versions of the driver model the system offers, newest first; the
// driver notes the highest one available.
WdmVersion HighestWdmVersion(const std::vector<WdmVersion>& available);

// Registers the handlers, the unload and the add-device routine.
wdm::Status DriverEntry(wdm::DriverObject& driver, wdm::IoManager& io, std::string_view registryPath,
                        const std::vector<WdmVersion>& availableVersions = {{1, 48}});
wdm::Status AddDevice(wdm::DriverObject& driver, wdm::DeviceObject& physicalDevice);

// The trace of a loaded driver (to plug a sink in).
DriverTrace& TraceOf(wdm::DriverObject& driver);

}  // namespace kirva
