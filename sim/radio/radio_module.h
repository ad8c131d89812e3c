#pragma once
// A virtual module on the air: it hears the request frames sent on its
// channel to its address (or to all modules), checks the wireless password
// and answers through its command engine. Fault knobs make it misbehave the
// way real radios do.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sim/radio/module_answerer.h"
#include "sim/radio/reply_frame.h"

namespace sim::radio {

struct ModuleFaults {
    bool silent = false;            // hears but never answers
    int dropReplies = 0;            // the next N replies are lost
    bool duplicateReplies = false;  // every reply goes out twice, identical
    bool retryReplies = false;      // every reply is followed by a retransmission (retry flag)
    bool staleCommandFirst = false; // an answer carrying the previous command number goes first
    int reportChannel = 0;          // not 0: replies name this channel instead of the real one
};

class RadioModule {
public:
    RadioModule(kirva::RadioAddress address, std::uint16_t channel, std::shared_ptr<ModuleAnswerer> answerer);

    kirva::RadioAddress address() const { return m_address; }
    std::uint16_t channel() const { return m_channel.load(); }
    void setChannel(std::uint16_t channel) { m_channel = channel; }
    void setFaults(const ModuleFaults& faults);
    // Request frames addressed to this module (or to all) that it heard.
    int heardCount() const { return m_heard.load(); }

    // The reply frames for one frame heard on `channel` from the dongle.
    std::vector<std::vector<std::uint8_t>> hear(const HeardFrame& frame, std::uint16_t channel);

private:
    const kirva::RadioAddress m_address;
    std::atomic<std::uint16_t> m_channel;
    std::shared_ptr<ModuleAnswerer> m_answerer;
    std::mutex m_mutex;
    ModuleFaults m_faults;
    std::uint16_t m_sequence = 0;
    std::atomic<int> m_heard{0};
};

}  // namespace sim::radio
