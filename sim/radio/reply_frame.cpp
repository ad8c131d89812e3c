#include "sim/radio/reply_frame.h"

#include <algorithm>

namespace sim::radio {

std::optional<HeardFrame> ParseRequestFrame(std::span<const std::uint8_t> frame) {
    if (frame.size() < 64 || frame[54] != 0xDD) return std::nullopt;
    HeardFrame heard;
    std::copy_n(frame.begin() + 20, 6, heard.destination.begin());
    std::copy_n(frame.begin() + 26, 6, heard.source.begin());
    heard.sequenceNumber = static_cast<std::uint16_t>(kirva::GetU16(frame.data() + 38) >> 4);
    std::copy_n(frame.begin() + 56, 6, heard.password.begin());
    heard.commandNumber = frame[62];
    heard.type = frame[63];
    heard.payload.assign(frame.begin() + 64, frame.end());
    return heard;
}

std::vector<std::uint8_t> BuildReplyFrame(const ReplyFrameFields& fields) {
    const std::size_t textLength = std::min(fields.text.size(), kMaxReplyText);
    std::vector<std::uint8_t> frame(43 + textLength, 0);
    kirva::PutU16(frame.data() + 8, static_cast<std::uint16_t>(0x0010 | (fields.retry ? 0x0800 : 0)));
    std::copy(fields.destination.begin(), fields.destination.end(), frame.begin() + 12);
    std::copy(fields.module.begin(), fields.module.end(), frame.begin() + 18);
    std::fill_n(frame.begin() + 24, 6, 0xFF);
    kirva::PutU16(frame.data() + 30, static_cast<std::uint16_t>((fields.sequenceNumber & 0xFFF) << 4));
    frame[38] = 0xDD;
    frame[39] = static_cast<std::uint8_t>(3 + textLength);
    frame[40] = fields.channel;
    frame[41] = fields.commandNumber;
    frame[42] = fields.type;
    std::copy_n(fields.text.begin(), textLength, frame.begin() + 43);
    return frame;
}

std::string ToDongleFraming(std::string_view serialReply) {
    // The reply ends at its first "\r\n\r\n"; bytes behind it are data (a socket
    // receive) and travel unchanged: no line end is rewritten or dropped in them.
    const std::size_t end = serialReply.find("\r\n\r\n");
    const std::string_view reply = serialReply.substr(0, end);
    const std::string_view data = end == std::string_view::npos ? std::string_view{} : serialReply.substr(end + 4);
    std::string text;
    for (std::size_t i = 0; i < reply.size(); ++i) {
        if (reply[i] == '\r' && i + 1 < reply.size() && reply[i + 1] == '\n') continue;
        text += reply[i];
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0')) text.pop_back();
    if (!data.empty()) {
        text += "\n\n";
        text.append(data);
    }
    if (text.size() > kMaxReplyText - 3) text.resize(kMaxReplyText - 3);
    text += "\n\n";
    text += '\0';
    return text;
}

}  // namespace sim::radio
