#pragma once

// Records of the network, socket and management commands.

#include <cstdint>

namespace tarnwave {

// One network of a scan (or the network just joined).
struct ScanEntry {
  std::uint8_t bssid[6] = {};
  std::uint8_t reserved = 0;
  std::uint8_t networkMode = 0;  // 0 infrastructure, 1 ad-hoc
  std::uint8_t channel = 0;      // 1-14; 0 marks an entry without a network
  std::uint8_t encryption = 0;   // 0 off, 1 on
  char ssid[33] = {};
  std::uint8_t signal = 0;       // magnitude of the level in dBm (shown negative)
};
static_assert(sizeof(ScanEntry) == 44);

inline constexpr int kMaxScanEntries = 50;
inline constexpr int kMaxSocketStates = 50;

// Argument of socket creation; on success the socket number replaces Protocol.
struct SocketSetup {
  std::int32_t Protocol = 0;  // 0 TCP, 1 UDP
  std::int32_t CsMode = 0;    // 0 client, 1 server
  union {
    char serverAddress[200];      // client
    std::int32_t connectTimeout;  // server, seconds
  };
  std::int32_t Port = 0;
  SocketSetup() : serverAddress{} {}
};
static_assert(sizeof(SocketSetup) == 212);

struct SocketState {
  std::int32_t socket = 0;
  std::int32_t status = 0;  // 1 "Monitor", 2 "Connect", else "Not connected"
  char peerAddress[52] = {};
  std::int32_t port = 0;
  std::int32_t dataLength = 0;  // bytes waiting
};
static_assert(sizeof(SocketState) == 68);

struct LinkState {
  std::int32_t connected = 0;
  char IpAddr[33] = {};
  char Mask[33] = {};
  char NetGate[33] = {};
  char Dns[33] = {};
};

}  // namespace tarnwave
