#include "dongle_driver/host/simulation_plan.h"

#include <cstdio>

namespace kirva {

namespace {

std::optional<int> ReadNumber(std::string_view text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<SimulationPlan> ParseSimulationPlan(std::string_view text, std::string& error) {
    SimulationPlan plan;
    if (text.empty()) return plan;
    if (text.back() == ',') {
        error = "empty placement after the last comma";
        return std::nullopt;
    }
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const auto colon = item.find(':');
        const auto channel = ReadNumber(item.substr(0, colon));
        const auto count = colon == std::string_view::npos ? std::optional<int>(1) : ReadNumber(item.substr(colon + 1));
        if (!channel || *channel < 1 || *channel > 14) {
            error = "channel must be 1 to 14 in '" + std::string(item) + "'";
            return std::nullopt;
        }
        if (!count || *count < 1 || *count > kMaxModulesPerChannel) {
            error = "module count must be 1 to 50 in '" + std::string(item) + "'";
            return std::nullopt;
        }
        plan.placements.push_back({static_cast<std::uint16_t>(*channel), *count});
    }
    return plan;
}

RadioAddress SimulatedModuleAddress(std::uint16_t channel, int index) {
    return {0x00, 0x1E, 0xC0, static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(index >> 8),
            static_cast<std::uint8_t>(index + 1)};
}

std::string FormatAddress(const RadioAddress& address) {
    char text[13];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", address[0], address[1], address[2], address[3],
                  address[4], address[5]);
    return text;
}

}  // namespace kirva
