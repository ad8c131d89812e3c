#pragma once
// The driver's device offered to code in the same process through
// platform/devio (tests and benchmarks open "\\.\NAME" without a socket).

#include <memory>
#include <shared_mutex>

#include "dongle_driver/host/driver_host.h"
#include "platform/devio/device_endpoint.h"

namespace kirva {

class InProcessDevice : public kit::devio::DeviceEndpoint {
public:
    explicit InProcessDevice(std::unique_ptr<HostFile> file) : m_file(std::move(file)) {}

    kit::devio::DevError write(std::span<const std::uint8_t> frame, std::uint32_t* deviceStatus = nullptr) override;
    kit::devio::ControlResult control(std::uint32_t code, std::span<const std::uint8_t> input,
                                      std::size_t outputSize) override;
    // Same process, same handle table: the value stands as it is.
    kit::HandleValue exportEvent(kit::HandleValue local) override { return local; }
    void close() override;

private:
    // Calls share the file (the driver serves them concurrently); close takes it away.
    std::shared_mutex m_mutex;
    std::unique_ptr<HostFile> m_file;
};

// Registers the host's device under its name while the guard lives.
class InProcessRegistration {
public:
    explicit InProcessRegistration(DriverHost& host);
    ~InProcessRegistration();
    InProcessRegistration(const InProcessRegistration&) = delete;
    InProcessRegistration& operator=(const InProcessRegistration&) = delete;
};

}  // namespace kirva
