#pragma once
// The USB bus driver of the kernel model. Each plugged-in device port gets a
// physical device object; function drivers above it send USB request blocks
// with the internal device-control request. A pulled device fails every later
// request with device-not-connected.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "dongle_driver/wdm/driver_object.h"
#include "dongle_driver/wdm/io_manager.h"
#include "dongle_driver/wdm/usb_device_port.h"

namespace wdm::usb {

class UsbBus {
public:
    // Observer of every transfer on the bus (for transfer logs).
    using TransferObserver = std::function<void(const Urb& urb, bool completed)>;
    // Observer of the plug-and-play requests that reach the bus's devices.
    using PnpObserver = std::function<void(PnpMinor minor)>;

    explicit UsbBus(IoManager& io);
    ~UsbBus();
    UsbBus(const UsbBus&) = delete;
    UsbBus& operator=(const UsbBus&) = delete;

    // Creates the physical device object of a newly attached device.
    DeviceObject* plugIn(std::shared_ptr<UsbDevicePort> port);
    // Marks the device gone: queued reads fail, later requests fail.
    void unplug(DeviceObject& physicalDevice);
    void setTransferObserver(TransferObserver observer);
    void setPnpObserver(PnpObserver observer);

    static std::uint32_t PipeHandleFor(std::uint8_t endpointAddress) { return 0x100u | endpointAddress; }

private:
    struct PortExtension;
    Status dispatchPnp(DeviceObject& device, IoRequest& request);
    Status dispatchPower(DeviceObject& device, IoRequest& request);
    Status dispatchInternal(DeviceObject& device, IoRequest& request);
    Status handleUrb(PortExtension& port, IoRequest& request, Urb& urb);
    Status selectConfiguration(PortExtension& port, Urb& urb);
    void observe(const Urb& urb, bool completed);

    IoManager& m_io;
    DriverObject m_driver{"\\Driver\\usbbus"};
    std::mutex m_observerMutex;
    TransferObserver m_observer;
    PnpObserver m_pnpObserver;
};

}  // namespace wdm::usb
