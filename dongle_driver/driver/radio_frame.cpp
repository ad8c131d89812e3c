#include "dongle_driver/driver/radio_frame.h"

#include <algorithm>

namespace kirva {

std::size_t BuildRadioRequest(const RadioRequest& request, std::span<std::uint8_t> out) {
    const std::size_t contentLength = request.payload.size() + kRadioContentHeader;
    const std::size_t frameLength = contentLength + kRadioHeaderLength;
    std::fill_n(out.begin(), frameLength, 0);
    std::uint8_t* f = out.data();
    PutU32(f + 0, static_cast<std::uint32_t>((frameLength - 16) & 0xFFF) << 2);
    PutU32(f + 4, 0x28u | (0x28u << 8));
    PutU32(f + 8, 1u | (1u << 14));
    PutU32(f + 12, request.descriptorCounter & 0xFFFu);
    // Frame control 0 (management, subtype 0) and duration 0 stay zero.
    std::copy(request.destination.begin(), request.destination.end(), f + 20);
    std::copy(request.source.begin(), request.source.end(), f + 26);
    std::fill_n(f + 32, 6, 0xFF);
    PutU16(f + 38, static_cast<std::uint16_t>((request.sequenceNumber & 0xFFF) << 4));
    f[54] = 0xDD;
    f[55] = static_cast<std::uint8_t>(contentLength);
    std::copy(request.password.begin(), request.password.end(), f + 56);
    f[62] = request.commandNumber;
    f[63] = request.type;
    std::copy(request.payload.begin(), request.payload.end(), f + 64);
    return frameLength;
}

std::uint16_t RadioReplyView::frameControl() const {
    return static_cast<std::uint16_t>(at(reply::kFrameControl) | (at(reply::kFrameControl + 1) << 8));
}

std::uint16_t RadioReplyView::sequenceNumber() const {
    return static_cast<std::uint16_t>((at(reply::kSequenceControl) | (at(reply::kSequenceControl + 1) << 8)) >> 4);
}

RadioAddress RadioReplyView::addressAt(std::size_t offset) const {
    RadioAddress address{};
    for (std::size_t i = 0; i < address.size(); ++i) address[i] = at(offset + i);
    return address;
}

void RadioReplyView::copyText(std::span<std::uint8_t> out) const {
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = at(reply::kText + i);
}

bool RadioReplyView::textBeginsWith(std::string_view prefix) const {
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (reply::kText + i >= m_bytes.size() || m_bytes[reply::kText + i] != static_cast<std::uint8_t>(prefix[i]))
            return false;
    return true;
}

}  // namespace kirva
