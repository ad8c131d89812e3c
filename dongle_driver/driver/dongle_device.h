#pragma once
// Per-device data and lifecycle of the dongle: start with the USB
// configuration checks, stop, removal (orderly and surprise), power, and the
// request handlers behind the device's named file.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dongle_driver/driver/device_state.h"
#include "dongle_driver/driver/driver_trace.h"
#include "dongle_driver/driver/radio_engine.h"
#include "dongle_driver/driver/request_queue.h"
#include "dongle_driver/driver/usb_channel.h"
#include "dongle_driver/wdm/device_object.h"
#include "dongle_driver/wdm/io_manager.h"
#include "dongle_driver/wdm/remove_lock.h"
#include "dongle_driver/wdm/usb_request_block.h"
#include "platform/sync/event.h"

namespace kirva {

// One required pipe of the dongle.
struct RequiredEndpoint {
    std::uint8_t address;
    wdm::usb::EndpointType type;
};
inline constexpr std::array<RequiredEndpoint, 3> kRequiredEndpoints = {{
    {0x81, wdm::usb::EndpointType::Bulk},
    {0x02, wdm::usb::EndpointType::Bulk},
    {0x03, wdm::usb::EndpointType::Bulk},
}};
inline constexpr std::uint32_t kPipeMaxTransferSize = 4096;

class DongleDevice : public wdm::DeviceExtension {
public:
    DongleDevice(wdm::IoManager& io, DriverTrace& trace, wdm::DeviceObject& self, wdm::DeviceObject& physical);
    ~DongleDevice() override;

    // Request handlers (the driver's dispatch routines call these).
    wdm::Status create(wdm::IoRequest& request);
    wdm::Status close(wdm::IoRequest& request);
    wdm::Status cleanup(wdm::IoRequest& request);
    wdm::Status read(wdm::IoRequest& request);
    wdm::Status write(wdm::IoRequest& request);
    wdm::Status deviceControl(wdm::IoRequest& request);
    wdm::Status systemControl(wdm::IoRequest& request);
    wdm::Status pnp(wdm::IoRequest& request);
    wdm::Status power(wdm::IoRequest& request);

    void setLowerDevice(wdm::DeviceObject* lower);
    void setLinkPresent(bool present) { m_linkPresent = present; }

    DeviceState state() const { return m_state.load(); }
    int openCount() const { return m_openCount.load(); }
    wdm::DevicePowerState devicePower() const { return m_devicePower.load(); }
    RadioEngine& engine() { return m_engine; }
    RequestQueue& queue() { return m_queue; }
    wdm::RemoveLock& removeLock() { return m_removeLock; }

private:
    wdm::Status startDevice(wdm::IoRequest& request);
    wdm::Status configureUsb();
    wdm::Status checkEndpoints(const std::vector<wdm::usb::InterfaceInformation>& interfaces,
                               const std::vector<std::uint8_t>& configuration);
    void freeResources();
    void signalRemoveEvent();
    void deleteSymbolicLink();
    wdm::Status passDown(wdm::IoRequest& request);
    wdm::Status passDownAndWait(wdm::IoRequest& request);
    wdm::Status runWrite(wdm::IoRequest& request);
    wdm::Status setEvent(wdm::IoRequest& request, bool removeEvent);
    wdm::Status completeRequest(wdm::IoRequest& request, wdm::Status status, std::size_t information = 0);
    wdm::Status setDevicePower(wdm::IoRequest& request);
    // Admits a file request; one held while the device sleeps on its own
    // (system working, device in D3) asks for D0.
    wdm::Status admit(wdm::IoRequest& request, RequestQueue::Handler handler);

    wdm::IoManager& m_io;
    DriverTrace& m_trace;
    wdm::DeviceObject& m_self;
    wdm::DeviceObject& m_physical;
    UsbChannel m_usb;
    RadioEngine m_engine;
    RequestQueue m_queue;
    wdm::RemoveLock m_removeLock;

    std::atomic<DeviceState> m_state{DeviceState::NeverStarted};
    DeviceState m_savedState = DeviceState::NeverStarted;
    std::atomic<int> m_openCount{0};
    bool m_linkPresent = false;
    std::atomic<wdm::SystemPowerState> m_systemPower{wdm::SystemPowerState::Working};
    std::atomic<wdm::DevicePowerState> m_devicePower{wdm::DevicePowerState::D3};
    // The queue holds one stall for the powered-down device; it is undone
    // exactly once, by power-up or by the next start.
    std::atomic<bool> m_powerStall{false};

    std::optional<std::vector<std::uint8_t>> m_configuration;
    std::uint32_t m_configurationHandle = 0;
    std::vector<wdm::usb::InterfaceInformation> m_interfaces;
    std::array<wdm::usb::PipeInformation, 3> m_pipes{};

    // Frames from several open handles take turns: the engine has one
    // transmit buffer and one pair of loops.
    std::mutex m_frameMutex;
    std::mutex m_removeEventMutex;
    std::shared_ptr<kit::Event> m_removeEvent;
    bool m_removeArmed = false;
};

}  // namespace kirva
