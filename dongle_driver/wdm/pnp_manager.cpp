#include "dongle_driver/wdm/pnp_manager.h"

namespace wdm {

Status PnpManager::addDevice(DriverObject& driver, DeviceObject& physicalDevice) {
    if (!driver.addDevice) return Status::NotSupported;
    return driver.addDevice(driver, physicalDevice);
}

Status PnpManager::send(DeviceObject& physicalDevice, PnpMinor minor) {
    IoRequest request(MajorFunction::Pnp);
    request.pnpMinor = minor;
    request.status = Status::NotSupported;
    return m_io.callDriverAndWait(m_io.stackTop(physicalDevice), request);
}

Status PnpManager::queryCapabilities(DeviceObject& physicalDevice, DeviceCapabilities& capabilities) {
    IoRequest request(MajorFunction::Pnp);
    request.pnpMinor = PnpMinor::QueryCapabilities;
    request.capabilities = &capabilities;
    return m_io.callDriverAndWait(m_io.stackTop(physicalDevice), request);
}

Status PnpManager::removeOrderly(DeviceObject& physicalDevice) {
    const Status query = queryRemove(physicalDevice);
    if (query != Status::Success) {
        cancelRemove(physicalDevice);
        return query;
    }
    return remove(physicalDevice);
}

Status PnpManager::removeSurprise(DeviceObject& physicalDevice) {
    surpriseRemoval(physicalDevice);
    return remove(physicalDevice);
}

Status PnpManager::setSystemPower(DeviceObject& physicalDevice, SystemPowerState state) {
    IoRequest request(MajorFunction::Power);
    request.powerMinor = PowerMinor::SetPower;
    request.powerType = PowerType::System;
    request.systemState = state;
    return m_io.callDriverAndWait(m_io.stackTop(physicalDevice), request);
}

Status PnpManager::setDevicePower(DeviceObject& physicalDevice, DevicePowerState state) {
    IoRequest request(MajorFunction::Power);
    request.powerMinor = PowerMinor::SetPower;
    request.powerType = PowerType::Device;
    request.deviceState = state;
    return m_io.callDriverAndWait(m_io.stackTop(physicalDevice), request);
}

}  // namespace wdm
