#include "dongle_driver/host/in_process_device.h"

#include "dongle_driver/host/device_server.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/devio/device_registry.h"

namespace kirva {

namespace {
std::string RegisteredName() { return std::string(kDevicePath.substr(4)); }
}  // namespace

kit::devio::DevError InProcessDevice::write(std::span<const std::uint8_t> frame, std::uint32_t* deviceStatus) {
    std::shared_lock lock(m_mutex);
    if (!m_file) return kit::devio::DevError::Removed;
    const auto status = m_file->write(frame);
    if (deviceStatus) *deviceStatus = static_cast<std::uint32_t>(status);
    return DevErrorFor(status);
}

kit::devio::ControlResult InProcessDevice::control(std::uint32_t code, std::span<const std::uint8_t> input,
                                                   std::size_t outputSize) {
    std::shared_lock lock(m_mutex);
    kit::devio::ControlResult result;
    if (!m_file) {
        result.error = kit::devio::DevError::Removed;
        return result;
    }
    const auto status = m_file->control(code, input, outputSize, result.output);
    result.error = DevErrorFor(status);
    result.deviceStatus = static_cast<std::uint32_t>(status);
    return result;
}

void InProcessDevice::close() {
    std::unique_lock lock(m_mutex);
    m_file.reset();
}

InProcessRegistration::InProcessRegistration(DriverHost& host) {
    kit::devio::DeviceRegistry::process().add(
        RegisteredName(), [&host](kit::devio::DevError& error) -> std::unique_ptr<kit::devio::DeviceEndpoint> {
            wdm::Status status;
            auto file = host.open(kDevicePath, status);
            if (!file) {
                error = DevErrorFor(status);
                return nullptr;
            }
            error = kit::devio::DevError::None;
            return std::make_unique<InProcessDevice>(std::move(file));
        });
}

InProcessRegistration::~InProcessRegistration() { kit::devio::DeviceRegistry::process().remove(RegisteredName()); }

}  // namespace kirva
