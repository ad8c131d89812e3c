#include "dongle_driver/driver/dongle_device.h"

#include <algorithm>

#include "dongle_driver/interface/dongle_interface.h"
#include "dongle_driver/wdm/usb_descriptors.h"
#include "platform/handles/handle_table.h"

namespace kirva {

using wdm::IoRequest;
using wdm::PnpMinor;
using wdm::Status;

DongleDevice::DongleDevice(wdm::IoManager& io, DriverTrace& trace, wdm::DeviceObject& self,
                           wdm::DeviceObject& physical)
    : m_io(io),
      m_trace(trace),
      m_self(self),
      m_physical(physical),
      m_usb(io, trace),
      m_engine(m_usb, io.pool(), trace) {}

DongleDevice::~DongleDevice() = default;

void DongleDevice::setLowerDevice(wdm::DeviceObject* lower) { m_usb.setLowerDevice(lower); }

Status DongleDevice::completeRequest(IoRequest& request, Status status, std::size_t information) {
    request.complete(status, information);
    return status;
}

Status DongleDevice::passDown(IoRequest& request) {
    if (!m_usb.lowerDevice()) return completeRequest(request, Status::NoSuchDevice);
    return m_io.callDriver(*m_usb.lowerDevice(), request);
}

Status DongleDevice::passDownAndWait(IoRequest& request) {
    if (!m_usb.lowerDevice()) return Status::NoSuchDevice;
    wdm::KernelEvent done(wdm::EventType::Notification);
    request.pushCompletion([&done](IoRequest&) {
        done.set();
        return wdm::CompletionAction::StopCompletion;
    });
    if (m_io.callDriver(*m_usb.lowerDevice(), request) == Status::Pending) done.wait();
    return request.status;
}

// ---- file requests -------------------------------------------------------

Status DongleDevice::create(IoRequest& request) {
    const DeviceState state = m_state.load();
    if (state == DeviceState::Removed || state == DeviceState::SurpriseRemoved ||
        state == DeviceState::RemovePending)
        return completeRequest(request, Status::NoSuchDevice);
    ++m_openCount;
    return completeRequest(request, Status::Success);
}

Status DongleDevice::close(IoRequest& request) {
    --m_openCount;
    return completeRequest(request, Status::Success);
}

Status DongleDevice::cleanup(IoRequest& request) {
    m_queue.cancelFile(request.fileId);
    return completeRequest(request, Status::Success);
}

Status DongleDevice::admit(IoRequest& request, RequestQueue::Handler handler) {
    const Status status = m_queue.admit(request, std::move(handler));
    if (status == Status::Pending && m_state.load() == DeviceState::Started &&
        m_systemPower.load() == wdm::SystemPowerState::Working &&
        m_devicePower.load() != wdm::DevicePowerState::D0) {
        m_trace(TraceComponent::Power, "request D0\n");
        IoRequest powerUp(wdm::MajorFunction::Power);
        powerUp.powerMinor = wdm::PowerMinor::SetPower;
        powerUp.powerType = wdm::PowerType::Device;
        powerUp.deviceState = wdm::DevicePowerState::D0;
        m_io.callDriverAndWait(m_self, powerUp);
    }
    return status;
}

Status DongleDevice::read(IoRequest& request) {
    return admit(request, [this](IoRequest& admitted) {
        return completeRequest(admitted, admitted.length == 0 ? Status::Success : Status::NotImplemented);
    });
}

Status DongleDevice::write(IoRequest& request) {
    if (request.length == 0) {
        // Nothing to carry: the request completes with the queue's verdict.
        return admit(request, [this](IoRequest& admitted) { return completeRequest(admitted, Status::Success); });
    }
    return admit(request, [this](IoRequest& admitted) { return runWrite(admitted); });
}

Status DongleDevice::runWrite(IoRequest& request) {
    if (m_removeLock.acquire() != Status::Success) return completeRequest(request, Status::DeletePending);
    auto work = m_io.pool().allocate(kMaxWriteLength);
    Status status = Status::InvalidParameter;
    if (work) {
        const std::size_t length = std::min({request.length, request.systemBuffer.size(), kMaxWriteLength});
        const FrameView frame(std::span<const std::uint8_t>(request.systemBuffer.data(), length));
        std::lock_guard frameLock(m_frameMutex);
        status = m_engine.execute(frame);
        // Only the radio transmission reports its outcome to the writer.
        if (static_cast<DongleCommand>(frame.code()) != DongleCommand::SendToModule) status = Status::Success;
    }
    completeRequest(request, status, 0);
    m_removeLock.release();
    return status;
}

Status DongleDevice::setEvent(IoRequest& request, bool removeEvent) {
    if (request.inputLength < 4 || request.systemBuffer.size() < 4) return Status::InvalidParameter;
    const auto handle = GetU32(request.systemBuffer.data());
    auto event = kit::HandleTable::process().lookup<kit::Event>(handle);
    if (!event) return Status::InvalidHandle;
    if (removeEvent) {
        std::lock_guard lock(m_removeEventMutex);
        m_removeEvent = std::move(event);
        m_removeArmed = true;
        m_trace(TraceComponent::Io, "Remove Event Received!");
    } else {
        m_engine.setReadEvent(std::move(event));
        m_trace(TraceComponent::Io, "Read Event Received!");
    }
    return Status::Success;
}

Status DongleDevice::deviceControl(IoRequest& request) {
    Status status = Status::Success;
    switch (request.ioControlCode) {
        case IOCTL_UDX_GET_NOTIFY:
            // The area is written into the caller's buffer only when it holds it.
            if (request.outputLength < kNotifyBufferSize) {
                status = Status::BufferTooSmall;
                break;
            }
            request.systemBuffer.resize(std::max(request.systemBuffer.size(), kNotifyBufferSize));
            m_engine.readNotify(std::span<std::uint8_t>(request.systemBuffer.data(), kNotifyBufferSize));
            break;
        case IOCTL_UDX_SET_REMOVE_EVENT:
            status = setEvent(request, true);
            break;
        case IOCTL_UDX_SET_READ_EVENT:
            status = setEvent(request, false);
            break;
        default:
            return completeRequest(request, Status::InvalidDeviceRequest, 0);
    }
    if (status != Status::Success) return completeRequest(request, status, 0);
    return completeRequest(request, status, std::min(kNotifyBufferSize, request.outputLength));
}

Status DongleDevice::systemControl(IoRequest& request) {
    if (m_state.load() == DeviceState::Removed) return completeRequest(request, Status::DeletePending);
    return passDown(request);
}

// ---- plug and play -------------------------------------------------------

void DongleDevice::signalRemoveEvent() {
    std::lock_guard lock(m_removeEventMutex);
    if (!m_removeArmed) return;
    m_removeArmed = false;
    m_trace(TraceComponent::Pnp, "remove!");
    if (m_removeEvent) m_removeEvent->set();
}

void DongleDevice::deleteSymbolicLink() {
    if (!m_linkPresent) return;
    m_linkPresent = false;
    (void)m_io.deleteSymbolicLink(kSymbolicLinkName);
}

Status DongleDevice::pnp(IoRequest& request) {
    m_trace(TraceComponent::Pnp, "KIRVA_UDXPnpDispatch++. IRP %p", static_cast<void*>(&request));
    if (m_state.load() == DeviceState::Removed) return completeRequest(request, Status::NoSuchDevice);
    switch (request.pnpMinor) {
        case PnpMinor::StartDevice:
            return startDevice(request);
        case PnpMinor::QueryRemoveDevice:
            signalRemoveEvent();
            deleteSymbolicLink();
            m_queue.stall();
            m_savedState = m_state.load();
            m_state = DeviceState::RemovePending;
            request.status = Status::Success;
            return passDown(request);
        case PnpMinor::RemoveDevice: {
            if (m_state.load() != DeviceState::SurpriseRemoved) {
                m_queue.failAll(Status::NoSuchDevice);
                freeResources();
            }
            m_state = DeviceState::Removed;
            m_removeLock.releaseAndWait();
            deleteSymbolicLink();
            request.status = Status::Success;
            const Status status = passDown(request);
            m_io.detach(*m_usb.lowerDevice());
            setLowerDevice(nullptr);
            m_io.deleteDevice(m_self);  // destroys this extension: nothing may follow
            return status;
        }
        case PnpMinor::CancelRemoveDevice:
            if (m_state.load() == DeviceState::RemovePending) {
                passDownAndWait(request);
                m_state = m_savedState;
                m_queue.restart();
                return completeRequest(request, Status::Success);
            }
            // Not ours to undo, but the drivers below may have a query to cancel.
            request.status = Status::Success;
            return passDown(request);
        case PnpMinor::StopDevice:
            m_state = DeviceState::Stopped;
            freeResources();
            request.status = Status::Success;
            return passDown(request);
        case PnpMinor::QueryStopDevice:
            m_queue.stall();
            m_savedState = m_state.load();
            m_state = DeviceState::StopPending;
            request.status = Status::Success;
            return passDown(request);
        case PnpMinor::CancelStopDevice:
            if (m_state.load() == DeviceState::StopPending) {
                passDownAndWait(request);
                m_state = m_savedState;
                m_queue.restart();
                return completeRequest(request, Status::Success);
            }
            request.status = Status::Success;
            return passDown(request);
        case PnpMinor::QueryCapabilities: {
            const Status status = passDownAndWait(request);
            if (status == Status::Success && request.capabilities) request.capabilities->surpriseRemovalOk = true;
            return completeRequest(request, status);
        }
        case PnpMinor::SurpriseRemoval:
            m_queue.stall();
            m_queue.failAll(Status::NoSuchDevice);
            m_state = DeviceState::SurpriseRemoved;
            freeResources();
            request.status = Status::Success;
            return passDown(request);
        default:
            return passDown(request);
    }
}

Status DongleDevice::startDevice(IoRequest& request) {
    Status status = passDownAndWait(request);
    if (status == Status::Success) {
        // A start powers the device up: the stall its power-down took goes
        // with it, or the queue would stay stalled after this start.
        m_devicePower = wdm::DevicePowerState::D0;
        if (m_powerStall.exchange(false)) m_queue.restart();
        status = m_engine.setUpRadio();
        m_linkPresent = true;
    }
    if (status == Status::Success) status = configureUsb();
    if (status == Status::Success)
        status = m_engine.allocateBuffers(m_pipes[0].pipeHandle, m_pipes[1].pipeHandle);
    if (status == Status::Success) {
        m_state = DeviceState::Started;
        m_queue.clearFailure();
        m_queue.restart();
    } else {
        freeResources();
    }
    return completeRequest(request, status);
}

Status DongleDevice::configureUsb() {
    std::vector<std::uint8_t> device(18);
    auto urb = wdm::usb::BuildGetDescriptor(wdm::usb::DescriptorType::Device, device);
    if (m_usb.submitSync(urb) != Status::Success) return Status::Unsuccessful;

    std::vector<std::uint8_t> header(9);
    urb = wdm::usb::BuildGetDescriptor(wdm::usb::DescriptorType::Configuration, header);
    if (m_usb.submitSync(urb) != Status::Success || urb.transferred < 9) return Status::Unsuccessful;
    const auto total = wdm::usb::ConfigurationTotalLength(header);
    if (!total || *total < 9) return Status::Unsuccessful;

    std::vector<std::uint8_t> configuration(*total);
    urb = wdm::usb::BuildGetDescriptor(wdm::usb::DescriptorType::Configuration, configuration);
    if (m_usb.submitSync(urb) != Status::Success || urb.transferred < *total) return Status::Unsuccessful;
    const auto parsed = wdm::usb::ParseConfiguration(configuration);
    if (!parsed || parsed->interfaces.empty()) return Status::Unsuccessful;

    // One entry per interface number, alternate setting 0; every pipe asks
    // for the maximum transfer size before the configuration is selected.
    std::vector<wdm::usb::InterfaceInformation> interfaces;
    for (const auto& interface : parsed->interfaces) {
        if (interface.alternateSetting != 0) continue;
        wdm::usb::InterfaceInformation information{interface.number, 0, {}};
        for (const auto& endpoint : interface.endpoints) {
            wdm::usb::PipeInformation pipe;
            pipe.endpointAddress = endpoint.address;
            pipe.type = endpoint.type;
            pipe.maxPacketSize = endpoint.maxPacketSize;
            pipe.maxTransferSize = kPipeMaxTransferSize;
            information.pipes.push_back(pipe);
        }
        interfaces.push_back(std::move(information));
    }
    const Status checked = checkEndpoints(interfaces, configuration);
    if (checked != Status::Success) return checked;

    urb = wdm::usb::BuildSelectConfiguration(configuration, interfaces);
    if (m_usb.submitSync(urb) != Status::Success) return Status::Unsuccessful;
    m_configuration = configuration;
    m_configurationHandle = urb.configurationHandle;
    m_interfaces = urb.interfaces;
    if (m_interfaces.empty() || m_interfaces.front().pipes.size() < m_pipes.size()) return Status::Unsuccessful;
    for (std::size_t i = 0; i < m_pipes.size(); ++i) m_pipes[i] = m_interfaces.front().pipes[i];
    return Status::Success;
}

Status DongleDevice::checkEndpoints(const std::vector<wdm::usb::InterfaceInformation>& interfaces,
                                    const std::vector<std::uint8_t>& configuration) {
    const auto parsed = wdm::usb::ParseConfiguration(configuration);
    if (!parsed || interfaces.empty()) return Status::DeviceConfigurationError;
    const auto first = std::find_if(parsed->interfaces.begin(), parsed->interfaces.end(), [&](const auto& candidate) {
        return candidate.number == interfaces.front().number && candidate.alternateSetting == 0;
    });
    if (first == parsed->interfaces.end() || first->endpoints.size() < kRequiredEndpoints.size())
        return Status::DeviceConfigurationError;
    for (std::size_t i = 0; i < kRequiredEndpoints.size(); ++i) {
        const auto& endpoint = first->endpoints[i];
        const bool sizeOk = endpoint.maxPacketSize == 64 || endpoint.maxPacketSize == 512;
        if (endpoint.address != kRequiredEndpoints[i].address || endpoint.type != kRequiredEndpoints[i].type ||
            !sizeOk)
            return Status::DeviceConfigurationError;
    }
    return Status::Success;
}

void DongleDevice::freeResources() {
    signalRemoveEvent();
    m_engine.stopLoopsAndFree();
    if (m_configuration && m_state.load() != DeviceState::SurpriseRemoved) {
        auto urb = wdm::usb::BuildSelectConfiguration(std::nullopt, {});
        (void)m_usb.submitSync(urb);
    }
    m_configuration.reset();
    m_interfaces.clear();
    m_configurationHandle = 0;
}

// ---- power ---------------------------------------------------------------

Status DongleDevice::power(IoRequest& request) {
    if (m_state.load() == DeviceState::Removed) return completeRequest(request, Status::NoSuchDevice);
    if (m_state.load() == DeviceState::NeverStarted || request.powerMinor != wdm::PowerMinor::SetPower)
        return passDown(request);
    if (request.powerType == wdm::PowerType::Device) return setDevicePower(request);

    // A system state change goes down first; on its way back it becomes the
    // matching device state change of this device.
    const Status status = passDownAndWait(request);
    if (status == Status::Success) {
        m_systemPower = request.systemState;
        IoRequest devicePower(wdm::MajorFunction::Power);
        devicePower.powerMinor = wdm::PowerMinor::SetPower;
        devicePower.powerType = wdm::PowerType::Device;
        devicePower.deviceState = request.systemState == wdm::SystemPowerState::Working ? wdm::DevicePowerState::D0
                                                                                          : wdm::DevicePowerState::D3;
        m_io.callDriverAndWait(m_self, devicePower);
    }
    return completeRequest(request, status);
}

Status DongleDevice::setDevicePower(IoRequest& request) {
    if (request.deviceState == wdm::DevicePowerState::D3) {
        if (m_devicePower.exchange(wdm::DevicePowerState::D3) == wdm::DevicePowerState::D0) {
            m_powerStall = true;
            m_queue.stall();
        }
        m_trace(TraceComponent::Power, "power down\n");
        return passDown(request);
    }
    const Status status = passDownAndWait(request);
    if (status == Status::Success && m_devicePower.exchange(wdm::DevicePowerState::D0) != wdm::DevicePowerState::D0) {
        m_trace(TraceComponent::Power, "power up\n");
        if (m_powerStall.exchange(false)) m_queue.restart();
    }
    return completeRequest(request, status);
}

}  // namespace kirva
