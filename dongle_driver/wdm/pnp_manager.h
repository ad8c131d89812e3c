#pragma once
// Plug-and-play and power manager of the kernel model: builds device stacks
// through a driver's add-device routine and sends the lifecycle requests to
// the top of a stack.

#include "dongle_driver/wdm/driver_object.h"
#include "dongle_driver/wdm/io_manager.h"
#include "dongle_driver/wdm/io_request.h"

namespace wdm {

class PnpManager {
public:
    explicit PnpManager(IoManager& io) : m_io(io) {}

    // Calls the function driver's add-device for a new physical device.
    Status addDevice(DriverObject& driver, DeviceObject& physicalDevice);

    Status start(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::StartDevice); }
    Status queryStop(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::QueryStopDevice); }
    Status stop(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::StopDevice); }
    Status cancelStop(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::CancelStopDevice); }
    Status queryRemove(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::QueryRemoveDevice); }
    Status remove(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::RemoveDevice); }
    Status cancelRemove(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::CancelRemoveDevice); }
    Status surpriseRemoval(DeviceObject& physicalDevice) { return send(physicalDevice, PnpMinor::SurpriseRemoval); }
    Status queryCapabilities(DeviceObject& physicalDevice, DeviceCapabilities& capabilities);

    // Orderly removal: query-remove, then remove (cancel-remove when refused).
    Status removeOrderly(DeviceObject& physicalDevice);
    // The device was pulled: surprise removal, then remove.
    Status removeSurprise(DeviceObject& physicalDevice);

    // System power change: the set-power request goes to the top of the stack.
    Status setSystemPower(DeviceObject& physicalDevice, SystemPowerState state);
    Status setDevicePower(DeviceObject& physicalDevice, DevicePowerState state);

    Status send(DeviceObject& physicalDevice, PnpMinor minor);

private:
    IoManager& m_io;
};

}  // namespace wdm
