#include "dongle_driver/interface/dongle_interface.h"

#include <algorithm>

namespace kirva {

void PutU16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint16_t GetU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t GetU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

namespace {

std::vector<std::uint8_t> Frame(DongleCommand code, std::size_t length) {
    std::vector<std::uint8_t> bytes(length, 0);
    PutU32(bytes.data(), static_cast<std::uint32_t>(code));
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> BuildSwitchChannel(std::uint16_t channel) {
    auto bytes = Frame(DongleCommand::SwitchChannel, 8);
    PutU16(bytes.data() + frame::kChannel, channel);
    return bytes;
}

std::vector<std::uint8_t> BuildSendToModule(const RadioAddress& destination, const WirelessPassword& password,
                                            PayloadType type, std::span<const std::uint8_t> payload) {
    auto bytes = Frame(DongleCommand::SendToModule, payload.size() + 19);
    PutU16(bytes.data() + frame::kSendLength, static_cast<std::uint16_t>(payload.size() + 7));
    std::copy(destination.begin(), destination.end(), bytes.begin() + frame::kSendDestination);
    std::copy(password.begin(), password.end(), bytes.begin() + frame::kSendPassword);
    bytes[frame::kSendType] = static_cast<std::uint8_t>(type);
    std::copy(payload.begin(), payload.end(), bytes.begin() + frame::kSendPayload);
    return bytes;
}

std::vector<std::uint8_t> BuildStartReceive(std::uint16_t channel, const RadioAddress& module) {
    auto bytes = Frame(DongleCommand::StartReceive, 12);
    PutU16(bytes.data() + frame::kChannel, channel);
    std::copy(module.begin(), module.end(), bytes.begin() + frame::kReceiveModule);
    return bytes;
}

std::vector<std::uint8_t> BuildStopReceive() { return Frame(DongleCommand::StopReceive, 4); }

std::vector<std::uint8_t> BuildStartSearch(std::uint32_t channel, const WirelessPassword& password,
                                           const RadioAddress& searchAddress) {
    auto bytes = Frame(DongleCommand::StartSearch, 20);
    PutU32(bytes.data() + frame::kChannel, channel);
    std::copy(password.begin(), password.end(), bytes.begin() + frame::kSearchPassword);
    std::copy(searchAddress.begin(), searchAddress.end(), bytes.begin() + frame::kSearchAddress);
    return bytes;
}

std::vector<std::uint8_t> BuildStopSearch() { return Frame(DongleCommand::StopSearch, 4); }

std::vector<std::uint8_t> BuildOpenExchange(std::uint8_t commandNumber) {
    auto bytes = Frame(DongleCommand::OpenExchange, 5);
    bytes[frame::kExchangeNumber] = commandNumber;
    return bytes;
}

std::vector<std::uint8_t> BuildCloseExchange() { return Frame(DongleCommand::CloseExchange, 4); }

FrameView::FrameView(std::span<const std::uint8_t> written) {
    m_written = std::min(written.size(), m_buffer.size());
    std::copy_n(written.begin(), m_written, m_buffer.begin());
}

std::uint8_t FrameView::u8(std::size_t offset) const { return offset < m_buffer.size() ? m_buffer[offset] : 0; }

std::uint16_t FrameView::u16(std::size_t offset) const {
    return offset + 2 <= m_buffer.size() ? GetU16(m_buffer.data() + offset) : 0;
}

std::uint32_t FrameView::u32(std::size_t offset) const {
    return offset + 4 <= m_buffer.size() ? GetU32(m_buffer.data() + offset) : 0;
}

RadioAddress FrameView::address(std::size_t offset) const {
    RadioAddress result{};
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = u8(offset + i);
    return result;
}

std::span<const std::uint8_t> FrameView::bytes(std::size_t offset, std::size_t length) const {
    if (offset >= m_buffer.size()) return {};
    return std::span<const std::uint8_t>(m_buffer).subspan(offset, std::min(length, m_buffer.size() - offset));
}

std::uint32_t NotifyAreaLength(std::span<const std::uint8_t> notify) {
    return notify.size() >= 4 ? GetU32(notify.data()) : 0;
}

std::optional<NotifySearchResult> ParseSearchNotify(std::span<const std::uint8_t> notify) {
    if (notify.size() < 8) return std::nullopt;
    const std::uint32_t length = GetU32(notify.data());
    const std::uint32_t count = GetU32(notify.data() + 4);
    NotifySearchResult result;
    if (length == 0 && count == 0) return result;
    if (count > kMaxSearchAddresses || length != 8 + 6 * count || length > notify.size()) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        RadioAddress address{};
        std::copy_n(notify.begin() + 8 + 6 * i, 6, address.begin());
        result.addresses.push_back(address);
    }
    return result;
}

}  // namespace kirva
