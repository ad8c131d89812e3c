#include "dongle_driver/wdm/usb_bus.h"

#include <algorithm>
#include <cstring>

#include "dongle_driver/wdm/usb_descriptors.h"

namespace wdm::usb {

struct UsbBus::PortExtension : DeviceExtension {
    std::shared_ptr<UsbDevicePort> port;
    std::atomic<bool> gone{false};
    std::atomic<bool> removed{false};
};

namespace {
constexpr std::uint32_t kBusDeviceType = 0x22;  // unknown device type

// The request's status for the bus's outcome: only a vanished device reads
// as "not connected"; a stall or a transfer error is a plain failure.
Status StatusFor(UsbdStatus usbd) {
    switch (usbd) {
        case UsbdStatus::Success: return Status::Success;
        case UsbdStatus::Cancelled: return Status::Cancelled;
        case UsbdStatus::DeviceGone: return Status::DeviceNotConnected;
        case UsbdStatus::Timeout: return Status::IoTimeout;
        default: return Status::Unsuccessful;
    }
}
}

UsbBus::UsbBus(IoManager& io) : m_io(io) {
    m_driver.handler(MajorFunction::Pnp) = [this](DeviceObject& d, IoRequest& r) { return dispatchPnp(d, r); };
    m_driver.handler(MajorFunction::Power) = [this](DeviceObject& d, IoRequest& r) { return dispatchPower(d, r); };
    m_driver.handler(MajorFunction::InternalDeviceControl) = [this](DeviceObject& d, IoRequest& r) {
        return dispatchInternal(d, r);
    };
}

UsbBus::~UsbBus() = default;

DeviceObject* UsbBus::plugIn(std::shared_ptr<UsbDevicePort> port) {
    auto extension = std::make_unique<PortExtension>();
    extension->port = std::move(port);
    DeviceObject* device = nullptr;
    if (m_io.createDevice(m_driver, "", kBusDeviceType, std::move(extension), &device) != Status::Success)
        return nullptr;
    device->flags.initializing = false;
    return device;
}

void UsbBus::unplug(DeviceObject& physicalDevice) {
    auto& port = physicalDevice.extensionAs<PortExtension>();
    port.gone = true;
    // Reads still queued on the device end now; the endpoints are gone.
    for (std::uint8_t endpoint = 0x81; endpoint < 0x90; ++endpoint) port.port->abortPipe(endpoint);
}

void UsbBus::setTransferObserver(TransferObserver observer) {
    std::lock_guard lock(m_observerMutex);
    m_observer = std::move(observer);
}

void UsbBus::setPnpObserver(PnpObserver observer) {
    std::lock_guard lock(m_observerMutex);
    m_pnpObserver = std::move(observer);
}

void UsbBus::observe(const Urb& urb, bool completed) {
    std::lock_guard lock(m_observerMutex);
    if (m_observer) m_observer(urb, completed);
}

Status UsbBus::dispatchPnp(DeviceObject& device, IoRequest& request) {
    auto& port = device.extensionAs<PortExtension>();
    {
        std::lock_guard lock(m_observerMutex);
        if (m_pnpObserver) m_pnpObserver(request.pnpMinor);
    }
    Status status = Status::Success;
    switch (request.pnpMinor) {
        case PnpMinor::QueryCapabilities:
            if (request.capabilities) request.capabilities->removable = true;
            break;
        case PnpMinor::StartDevice:
            if (port.gone) status = Status::NoSuchDevice;
            break;
        case PnpMinor::RemoveDevice:
            port.removed = true;
            break;
        default:
            break;
    }
    request.complete(status, request.information);
    return status;
}

Status UsbBus::dispatchPower(DeviceObject&, IoRequest& request) {
    request.complete(Status::Success, 0);
    return Status::Success;
}

Status UsbBus::dispatchInternal(DeviceObject& device, IoRequest& request) {
    auto& port = device.extensionAs<PortExtension>();
    if (request.ioControlCode != kSubmitUrb || request.urb == nullptr) {
        request.complete(Status::InvalidDeviceRequest, 0);
        return Status::InvalidDeviceRequest;
    }
    if (port.gone) {
        request.urb->status = UsbdStatus::DeviceGone;
        request.complete(Status::DeviceNotConnected, 0);
        return Status::DeviceNotConnected;
    }
    return handleUrb(port, request, *request.urb);
}

Status UsbBus::handleUrb(PortExtension& port, IoRequest& request, Urb& urb) {
    observe(urb, false);
    auto finish = [&](UsbdStatus usbd) {
        urb.status = usbd;
        const Status status = StatusFor(usbd);
        observe(urb, true);
        request.complete(status, 0);
        return status;
    };
    switch (urb.function) {
        case UrbFunction::GetDescriptor: {
            const auto bytes = urb.descriptorType == DescriptorType::Device ? port.port->deviceDescriptor()
                                                                            : port.port->configurationDescriptor();
            urb.transferred = std::min(bytes.size(), urb.buffer.size());
            std::copy_n(bytes.begin(), urb.transferred, urb.buffer.begin());
            return finish(UsbdStatus::Success);
        }
        case UrbFunction::SelectConfiguration:
            return finish(selectConfiguration(port, urb) == Status::Success ? UsbdStatus::Success
                                                                              : UsbdStatus::Error);
        case UrbFunction::VendorRequest: {
            ControlSetup setup{urb.direction, urb.request, urb.value, urb.index};
            urb.transferred = 0;
            return finish(port.port->controlTransfer(setup, urb.buffer, urb.transferred));
        }
        case UrbFunction::BulkTransfer: {
            const std::uint8_t endpoint = static_cast<std::uint8_t>(urb.pipeHandle & 0xFF);
            if ((urb.pipeHandle & 0xFF00) != 0x100) return finish(UsbdStatus::InvalidPipe);
            if ((endpoint & 0x80) == 0) {
                urb.transferred = urb.buffer.size();
                return finish(port.port->bulkOut(endpoint, urb.buffer));
            }
            request.markPending();
            port.port->bulkIn(endpoint, urb.buffer, [this, &request, &urb](UsbdStatus usbd, std::size_t got) {
                urb.transferred = got;
                urb.status = usbd;
                observe(urb, true);
                request.complete(StatusFor(usbd), got);
            });
            return Status::Pending;
        }
        case UrbFunction::AbortPipe:
            port.port->abortPipe(static_cast<std::uint8_t>(urb.pipeHandle & 0xFF));
            return finish(UsbdStatus::Success);
    }
    return finish(UsbdStatus::Error);
}

Status UsbBus::selectConfiguration(PortExtension& port, Urb& urb) {
    if (!urb.configurationDescriptor) {
        port.port->setConfiguration(0);
        return Status::Success;
    }
    auto parsed = ParseConfiguration(*urb.configurationDescriptor);
    if (!parsed) return Status::InvalidParameter;
    for (auto& interface : urb.interfaces) {
        auto found = std::find_if(parsed->interfaces.begin(), parsed->interfaces.end(), [&](const auto& candidate) {
            return candidate.number == interface.number && candidate.alternateSetting == interface.alternateSetting;
        });
        if (found == parsed->interfaces.end()) return Status::InvalidParameter;
        interface.pipes.resize(found->endpoints.size());
        for (std::size_t i = 0; i < found->endpoints.size(); ++i) {
            auto& pipe = interface.pipes[i];
            pipe.endpointAddress = found->endpoints[i].address;
            pipe.type = found->endpoints[i].type;
            pipe.maxPacketSize = found->endpoints[i].maxPacketSize;
            pipe.pipeHandle = PipeHandleFor(pipe.endpointAddress);
        }
    }
    if (port.port->setConfiguration(parsed->configurationValue) != UsbdStatus::Success) return Status::Unsuccessful;
    urb.configurationHandle = 0x10000u | parsed->configurationValue;
    return Status::Success;
}

}  // namespace wdm::usb
