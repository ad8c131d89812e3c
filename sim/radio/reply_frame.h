#pragma once
// Radio frames as a virtual module sees them: the request frame it hears and
// the reply frame it sends back through the dongle's bulk IN pipe.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dongle_driver/interface/dongle_interface.h"

namespace sim::radio {

struct HeardFrame {
    kirva::RadioAddress destination{};
    kirva::RadioAddress source{};
    std::uint16_t sequenceNumber = 0;
    kirva::WirelessPassword password{};
    std::uint8_t commandNumber = 0;
    std::uint8_t type = 0;
    std::string payload;
};
// Parses a request frame as sent on bulk OUT; nullopt when it is too short or
// lacks the element.
std::optional<HeardFrame> ParseRequestFrame(std::span<const std::uint8_t> frame);

struct ReplyFrameFields {
    kirva::RadioAddress destination{};  // the dongle
    kirva::RadioAddress module{};
    std::uint16_t sequenceNumber = 0;
    bool retry = false;
    std::uint8_t channel = 0;
    std::uint8_t commandNumber = 0;
    std::uint8_t type = 0;
    std::string text;  // in the dongle's framing, at most 252 bytes
};
inline constexpr std::size_t kMaxReplyText = 252;
std::vector<std::uint8_t> BuildReplyFrame(const ReplyFrameFields& fields);

// A module's serial reply in the dongle's framing: "\n" line ends, "\n\n" and
// a zero byte at the end, cut to what one frame carries. Data behind the reply
// (a socket receive) follow the reply's "\n\n" byte for byte, and the frame's
// "\n\n" and zero byte follow the data.
std::string ToDongleFraming(std::string_view serialReply);

}  // namespace sim::radio
