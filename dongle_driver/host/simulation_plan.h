#pragma once
// Where the driver host puts virtual modules: "6:2,11:1" means two modules on
// channel 6 and one on channel 11.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dongle_driver/interface/dongle_interface.h"

namespace kirva {

struct PlacedModules {
    std::uint16_t channel = 0;
    int count = 0;
};

struct SimulationPlan {
    std::vector<PlacedModules> placements;
};

inline constexpr int kMaxModulesPerChannel = 50;

// nullopt with a message for anything malformed (channels 1 to 14, counts 1
// to 50).
std::optional<SimulationPlan> ParseSimulationPlan(std::string_view text, std::string& error);
// The address of the index-th module (from 0) on a channel.
RadioAddress SimulatedModuleAddress(std::uint16_t channel, int index);
std::string FormatAddress(const RadioAddress& address);

}  // namespace kirva
