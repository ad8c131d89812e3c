#include "sim/radio/radio_module.h"

#include <algorithm>

namespace sim::radio {

namespace {
bool IsSearch(const HeardFrame& frame) { return frame.destination == kirva::kSearchAllAddress; }
}  // namespace

RadioModule::RadioModule(kirva::RadioAddress address, std::uint16_t channel, std::shared_ptr<ModuleAnswerer> answerer)
    : m_address(address), m_channel(channel), m_answerer(std::move(answerer)) {}

void RadioModule::setFaults(const ModuleFaults& faults) {
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

std::vector<std::vector<std::uint8_t>> RadioModule::hear(const HeardFrame& frame, std::uint16_t channel) {
    if (channel != m_channel.load()) return {};
    if (frame.destination != m_address && !IsSearch(frame)) return {};
    ++m_heard;
    const std::string password = m_answerer ? m_answerer->wirelessPassword() : std::string();
    if (!password.empty() && !std::equal(frame.password.begin(), frame.password.end(), password.begin(),
                                         password.begin() + std::min<std::size_t>(password.size(), 6)))
        return {};

    std::optional<std::string> reply;
    if (IsSearch(frame)) {
        reply = "+OK\n\n";
        reply->push_back('\0');
    } else if (m_answerer) {
        auto answered = m_answerer->answer(frame.type == 1 ? HeardKind::RawData : HeardKind::RequestText, frame.payload);
        if (answered) reply = ToDongleFraming(*answered);
    }
    std::lock_guard lock(m_mutex);
    if (!reply || m_faults.silent) return {};
    if (m_faults.dropReplies > 0) {
        --m_faults.dropReplies;
        return {};
    }
    ReplyFrameFields fields;
    fields.destination = frame.source;
    fields.module = m_address;
    fields.sequenceNumber = ++m_sequence;
    fields.channel = static_cast<std::uint8_t>(m_faults.reportChannel ? m_faults.reportChannel : channel);
    fields.commandNumber = frame.commandNumber;
    fields.type = frame.type;
    fields.text = *reply;

    std::vector<std::vector<std::uint8_t>> frames;
    if (m_faults.staleCommandFirst) {
        ReplyFrameFields stale = fields;
        stale.commandNumber = static_cast<std::uint8_t>(frame.commandNumber - 1);
        stale.text = "+ERR=-100\n\n";
        stale.text.push_back('\0');
        frames.push_back(BuildReplyFrame(stale));
    }
    frames.push_back(BuildReplyFrame(fields));
    if (m_faults.duplicateReplies) frames.push_back(BuildReplyFrame(fields));
    if (m_faults.retryReplies) {
        fields.retry = true;
        frames.push_back(BuildReplyFrame(fields));
    }
    return frames;
}

}  // namespace sim::radio
