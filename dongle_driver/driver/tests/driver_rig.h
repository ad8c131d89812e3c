#pragma once
// Test rig: the driver loaded in-process on a virtual dongle with virtual
// modules, a captured trace and helpers for frames and events.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/handles/handle_table.h"
#include "platform/sync/event.h"
#include "sim/radio/radio_medium.h"
#include "sim/radio/virtual_dongle.h"

namespace kirva::testing {

// Answers every request text with "+OK=" and the request's mnemonic, the way
// a module's serial line would carry it; counts what it heard.
class EchoAnswerer : public sim::radio::ModuleAnswerer {
public:
    std::optional<std::string> answer(sim::radio::HeardKind kind, std::string_view bytes) override;
    std::string wirelessPassword() const override { return password; }
    std::string password;
};

inline const RadioAddress kModuleA{0x00, 0x1E, 0xC0, 0x00, 0x00, 0x0A};
inline const RadioAddress kModuleB{0x00, 0x1E, 0xC0, 0x00, 0x00, 0x0B};
inline const WirelessPassword kPassword{'1', '2', '3', '4', '5', '6'};

// An event handed to the driver: kept in the process's handle table.
struct HandedEvent {
    std::shared_ptr<kit::Event> event = std::make_shared<kit::Event>(kit::EventReset::Auto);
    kit::ScopedHandle handle{kit::HandleTable::process().insert(event)};
    std::vector<std::uint8_t> input() const;
};

class DriverRig {
public:
    DriverRig();
    ~DriverRig();

    std::shared_ptr<sim::radio::RadioModule> addModule(const RadioAddress& address, std::uint16_t channel);
    wdm::Status plug(sim::radio::DongleConfig config = {});
    wdm::Status plugStopped(sim::radio::DongleConfig config = {});
    std::unique_ptr<HostFile> open();

    static std::vector<std::uint8_t> Text(std::string_view text) { return {text.begin(), text.end()}; }
    std::vector<std::uint8_t> notify(HostFile& file);
    int traced(std::string_view line) const;

    DriverHost host;
    std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();
    std::shared_ptr<sim::radio::VirtualDongle> dongle;

private:
    mutable std::mutex m_traceMutex;
    std::vector<std::string> m_trace;
};

}  // namespace kirva::testing
