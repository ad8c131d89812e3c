#include "sim/radio/radio_medium.h"

namespace sim::radio {

void RadioMedium::add(std::shared_ptr<RadioModule> module) {
    std::lock_guard lock(m_mutex);
    m_modules.push_back(std::move(module));
}

std::vector<std::shared_ptr<RadioModule>> RadioMedium::modules() const {
    std::lock_guard lock(m_mutex);
    return m_modules;
}

std::vector<std::vector<std::uint8_t>> RadioMedium::transmit(std::uint16_t channel,
                                                             std::span<const std::uint8_t> frame) {
    const auto heard = ParseRequestFrame(frame);
    if (!heard) return {};
    std::vector<std::vector<std::uint8_t>> replies;
    for (const auto& module : modules()) {
        auto answers = module->hear(*heard, channel);
        for (auto& answer : answers) replies.push_back(std::move(answer));
    }
    return replies;
}

}  // namespace sim::radio
