#pragma once
// The one interface between the dongle driver and the programs that use it:
// device names, the command frames written to the device, the device-control
// codes and the layout of the notify area. All multi-byte fields are
// little-endian; bytes that a frame does not list are zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kirva {

inline constexpr std::string_view kDeviceName = "\\Device\\MERVO_QTM31RB07_TEST";
inline constexpr std::string_view kSymbolicLinkName = "\\DosDevices\\MERVO_QTM31RB07_TEST";
inline constexpr std::string_view kDevicePath = "\\\\.\\MERVO_QTM31RB07_TEST";

using RadioAddress = std::array<std::uint8_t, 6>;
using WirelessPassword = std::array<std::uint8_t, 6>;

inline constexpr RadioAddress kSearchAllAddress{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Command codes of the frames written to the device.
enum class DongleCommand : std::uint32_t {
    SwitchChannel = 0xF000,
    SendToModule = 0xFF01,
    StartReceive = 0xFF02,
    StopReceive = 0xFF03,
    StartSearch = 0xFF04,
    StopSearch = 0xFF05,
    OpenExchange = 0xFF06,
    CloseExchange = 0xFF07,
};

// Device-control codes (buffered, any access, device type 0x22).
inline constexpr std::uint32_t IOCTL_UDX_GET_NOTIFY = 0x222010;
inline constexpr std::uint32_t IOCTL_UDX_SET_REMOVE_EVENT = 0x222018;
inline constexpr std::uint32_t IOCTL_UDX_SET_READ_EVENT = 0x222028;

// Size of the caller's output buffer for IOCTL_UDX_GET_NOTIFY and the output
// information of every accepted control request.
inline constexpr std::size_t kNotifyBufferSize = 2048;
// The driver reads at most this many bytes of one write.
inline constexpr std::size_t kMaxWriteLength = 2048;
// The notify area kept by the driver: length word and data.
inline constexpr std::size_t kNotifyAreaSize = 2008;
// A search lists at most this many addresses (the data part of the area).
inline constexpr std::size_t kMaxSearchAddresses = 333;
// Text or data of one SendToModule that fits the driver's transmit buffer.
inline constexpr std::size_t kMaxSendPayload = 1536;

enum class PayloadType : std::uint8_t { RequestText = 0, RawData = 1 };

// Frame builders: exactly the bytes the tool writes.
std::vector<std::uint8_t> BuildSwitchChannel(std::uint16_t channel);
std::vector<std::uint8_t> BuildSendToModule(const RadioAddress& destination, const WirelessPassword& password,
                                            PayloadType type, std::span<const std::uint8_t> payload);
std::vector<std::uint8_t> BuildStartReceive(std::uint16_t channel, const RadioAddress& module);
std::vector<std::uint8_t> BuildStopReceive();
std::vector<std::uint8_t> BuildStartSearch(std::uint32_t channel, const WirelessPassword& password,
                                           const RadioAddress& searchAddress);
std::vector<std::uint8_t> BuildStopSearch();
std::vector<std::uint8_t> BuildOpenExchange(std::uint8_t commandNumber);
std::vector<std::uint8_t> BuildCloseExchange();

// A frame as the driver reads it from its zeroed 2048-byte work buffer.
// Fields beyond the bytes actually written read as zero.
class FrameView {
public:
    explicit FrameView(std::span<const std::uint8_t> written);

    std::uint32_t code() const { return u32(0); }
    std::uint8_t u8(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    RadioAddress address(std::size_t offset) const;
    // Bytes [offset, offset + length), clipped to the work buffer.
    std::span<const std::uint8_t> bytes(std::size_t offset, std::size_t length) const;
    std::size_t writtenLength() const { return m_written; }

private:
    std::array<std::uint8_t, kMaxWriteLength> m_buffer{};
    std::size_t m_written = 0;
};

// Field offsets inside the frames.
namespace frame {
inline constexpr std::size_t kChannel = 4;         // SwitchChannel, StartReceive (16-bit), StartSearch (32-bit)
inline constexpr std::size_t kSendLength = 4;      // SendToModule: n + 7
inline constexpr std::size_t kSendDestination = 6;
inline constexpr std::size_t kSendPassword = 12;
inline constexpr std::size_t kSendType = 18;
inline constexpr std::size_t kSendPayload = 19;
inline constexpr std::size_t kReceiveModule = 6;
inline constexpr std::size_t kSearchPassword = 8;
inline constexpr std::size_t kSearchAddress = 14;
inline constexpr std::size_t kExchangeNumber = 4;
}  // namespace frame

// What IOCTL_UDX_GET_NOTIFY delivered, read back by the tool.
struct NotifySearchResult {
    std::vector<RadioAddress> addresses;
};
std::uint32_t NotifyAreaLength(std::span<const std::uint8_t> notify);
// The addresses of a search result; nullopt when the area does not hold a
// consistent list (length other than 8 + 6 x count, or beyond the buffer).
std::optional<NotifySearchResult> ParseSearchNotify(std::span<const std::uint8_t> notify);

// Little-endian helpers shared by both sides.
void PutU16(std::uint8_t* at, std::uint16_t value);
void PutU32(std::uint8_t* at, std::uint32_t value);
std::uint16_t GetU16(const std::uint8_t* at);
std::uint32_t GetU32(const std::uint8_t* at);

}  // namespace kirva
