#pragma once
// Radio frames exchanged with the modules through the dongle's bulk pipes:
// the request frame the driver sends and the reply frame it reads.

#include <cstddef>
#include <cstdint>
#include <span>

#include "dongle_driver/interface/dongle_interface.h"

namespace kirva {

inline constexpr std::size_t kRadioBufferSize = 1600;
inline constexpr std::size_t kRadioHeaderLength = 56;  // descriptor, header, element id and length
inline constexpr std::size_t kRadioContentHeader = 8;  // password, command number, type

struct RadioRequest {
    RadioAddress destination{};
    RadioAddress source{};
    WirelessPassword password{};
    std::uint8_t commandNumber = 0;
    std::uint8_t type = 0;
    std::uint16_t sequenceNumber = 0;     // low 12 bits used
    std::uint16_t descriptorCounter = 0;  // low 12 bits used
    std::span<const std::uint8_t> payload;
};

// Writes the frame into `out` (which must hold payload + 64 bytes) and
// returns its length.
std::size_t BuildRadioRequest(const RadioRequest& request, std::span<std::uint8_t> out);

// Reply frame fields at their offsets.
namespace reply {
inline constexpr std::size_t kFrameControl = 8;
inline constexpr std::size_t kAddress1 = 12;
inline constexpr std::size_t kAddress2 = 18;
inline constexpr std::size_t kSequenceControl = 30;
inline constexpr std::size_t kElementLength = 39;
inline constexpr std::size_t kChannel = 40;
inline constexpr std::size_t kCommandNumber = 41;
inline constexpr std::size_t kType = 42;
inline constexpr std::size_t kText = 43;
inline constexpr std::uint16_t kRetryFlag = 0x0800;
}  // namespace reply

// Read-only view of a received reply frame. Only the received bytes count;
// reads past them give zero.
class RadioReplyView {
public:
    explicit RadioReplyView(std::span<const std::uint8_t> received) : m_bytes(received) {}

    bool holdsHeader() const { return m_bytes.size() >= reply::kText; }
    std::uint8_t subtype() const { return static_cast<std::uint8_t>((frameControl() >> 4) & 0x0F); }
    bool retry() const { return (frameControl() & reply::kRetryFlag) != 0; }
    RadioAddress address1() const { return addressAt(reply::kAddress1); }
    RadioAddress address2() const { return addressAt(reply::kAddress2); }
    std::uint16_t sequenceNumber() const;
    std::uint8_t elementLength() const { return at(reply::kElementLength); }
    std::uint8_t channel() const { return at(reply::kChannel); }
    std::uint8_t commandNumber() const { return at(reply::kCommandNumber); }
    // `count` bytes of the reply text, zero where the frame ended.
    void copyText(std::span<std::uint8_t> out) const;
    bool textBeginsWith(std::string_view prefix) const;

private:
    std::uint16_t frameControl() const;
    std::uint8_t at(std::size_t offset) const { return offset < m_bytes.size() ? m_bytes[offset] : 0; }
    RadioAddress addressAt(std::size_t offset) const;

    std::span<const std::uint8_t> m_bytes;
};

}  // namespace kirva
