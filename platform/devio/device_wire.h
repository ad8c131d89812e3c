#pragma once
// Messages between a device host and the programs that opened its device,
// over a stream socket. Each message: type byte, body length (32-bit
// little-endian, at most kMaxBody), body.
//   program -> host: 'H' version                first of all: the program's greeting
//                    'W' frame                  write
//                    'C' code, outsize, input   control request
//                    'E' handle                 export an event
//   host -> program: 'R' error, status, output  answer to the last request (and
//                                               to the program's greeting)
//                    'S' handle                 the program's event is signalled

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kit::devio {

inline constexpr std::size_t kMaxBody = 64 * 1024;
inline constexpr std::uint32_t kWireVersion = 1;

enum class WireType : std::uint8_t { Hello = 'H', Write = 'W', Control = 'C', Export = 'E', Reply = 'R', Signal = 'S' };

struct WireMessage {
    WireType type = WireType::Reply;
    std::vector<std::uint8_t> body;
};

// Sends one whole message; false when the socket failed.
bool SendMessage(int fd, WireType type, std::span<const std::uint8_t> body);
// Reads one whole message; nullopt at end of stream, on a socket error or on
// a malformed message (unknown type, oversized body).
std::optional<WireMessage> ReceiveMessage(int fd);

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value);
std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset);

}  // namespace kit::devio
