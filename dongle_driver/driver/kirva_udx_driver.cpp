#include "dongle_driver/driver/kirva_udx_driver.h"

#include "dongle_driver/driver/dongle_device.h"
#include "dongle_driver/interface/dongle_interface.h"

namespace kirva {

using wdm::MajorFunction;
using wdm::Status;

namespace {

constexpr std::uint32_t kDeviceType = 0x22;

DongleDevice& Device(wdm::DeviceObject& device) { return device.extensionAs<DongleDevice>(); }

template <Status (DongleDevice::*Handler)(wdm::IoRequest&)>
wdm::DriverObject::DispatchRoutine Route() {
    return [](wdm::DeviceObject& device, wdm::IoRequest& request) { return (Device(device).*Handler)(request); };
}

}  // namespace

WdmVersion HighestWdmVersion(const std::vector<WdmVersion>& available) {
    static const WdmVersion known[] = {{1, 48}, {1, 32}, {1, 16}, {1, 5}};
    for (const auto& version : known)
        for (const auto& offered : available)
            if (offered.major == version.major && offered.minor == version.minor) return version;
    return {1, 0};
}

DriverTrace& TraceOf(wdm::DriverObject& driver) { return driver.extensionAs<DriverGlobals>().trace; }

Status DriverEntry(wdm::DriverObject& driver, wdm::IoManager& io, std::string_view registryPath,
                   const std::vector<WdmVersion>& availableVersions) {
    auto globals = io.pool().make<DriverGlobals>(io);
    if (!globals) return Status::InsufficientResources;
    auto pathCopy = io.pool().allocate(registryPath.size() + 1);
    if (!pathCopy) return Status::InsufficientResources;
    globals->registryPath.assign(registryPath);
    globals->version = HighestWdmVersion(availableVersions);
    driver.extension = std::move(globals);

    driver.handler(MajorFunction::Create) = Route<&DongleDevice::create>();
    driver.handler(MajorFunction::Close) = Route<&DongleDevice::close>();
    driver.handler(MajorFunction::Cleanup) = Route<&DongleDevice::cleanup>();
    driver.handler(MajorFunction::Read) = Route<&DongleDevice::read>();
    driver.handler(MajorFunction::Write) = Route<&DongleDevice::write>();
    driver.handler(MajorFunction::DeviceControl) = Route<&DongleDevice::deviceControl>();
    driver.handler(MajorFunction::SystemControl) = Route<&DongleDevice::systemControl>();
    driver.handler(MajorFunction::Power) = Route<&DongleDevice::power>();
    driver.handler(MajorFunction::Pnp) = Route<&DongleDevice::pnp>();
    driver.unload = [](wdm::DriverObject& self) { self.extensionAs<DriverGlobals>().registryPath.clear(); };
    driver.addDevice = [](wdm::DriverObject& self, wdm::DeviceObject& physical) { return AddDevice(self, physical); };
    return Status::Success;
}

Status AddDevice(wdm::DriverObject& driver, wdm::DeviceObject& physicalDevice) {
    auto& globals = driver.extensionAs<DriverGlobals>();
    wdm::DeviceObject* device = nullptr;
    Status status = globals.io.createDevice(driver, std::string(kDeviceName), kDeviceType, nullptr, &device);
    if (status != Status::Success) {
        globals.trace(TraceComponent::Pnp, " IoCreateDevice failed |||||||| %x\n", static_cast<unsigned>(status));
        return status;
    }
    device->secureOpen = true;
    device->exclusive = false;
    auto extension = globals.io.pool().make<DongleDevice>(globals.io, globals.trace, *device, physicalDevice);
    if (!extension) {
        globals.io.deleteDevice(*device);
        return Status::InsufficientResources;
    }
    DongleDevice& dongle = *extension;
    device->extension = std::move(extension);

    const Status link = globals.io.createSymbolicLink(kSymbolicLinkName, kDeviceName);
    if (link != Status::Success)
        globals.trace(TraceComponent::Pnp, "IoCreateSymbolicLink failed %x\n", static_cast<unsigned>(link));
    dongle.setLinkPresent(link == Status::Success);

    device->flags.powerPageable = physicalDevice.flags.powerPageable;
    device->flags.bufferedIo = true;
    wdm::DeviceObject* lower = globals.io.attach(*device, physicalDevice);
    if (!lower) {
        if (link == Status::Success) (void)globals.io.deleteSymbolicLink(kSymbolicLinkName);
        globals.io.deleteDevice(*device);
        return Status::DeviceRemoved;
    }
    dongle.setLowerDevice(lower);
    device->flags.initializing = false;
    return Status::Success;
}

}  // namespace kirva
