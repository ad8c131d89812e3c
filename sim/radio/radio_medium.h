#pragma once
// The air between the dongle and the virtual modules: a frame sent on a
// channel reaches every module tuned to it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "sim/radio/radio_module.h"

namespace sim::radio {

class RadioMedium {
public:
    void add(std::shared_ptr<RadioModule> module);
    std::vector<std::shared_ptr<RadioModule>> modules() const;
    // The reply frames of every module that answers, in module order.
    std::vector<std::vector<std::uint8_t>> transmit(std::uint16_t channel, std::span<const std::uint8_t> frame);

private:
    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<RadioModule>> m_modules;
};

}  // namespace sim::radio
