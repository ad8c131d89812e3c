#pragma once

// The module parameter record: one value per parameter command, fields named after
// the parameter file's keys. Texts are zero-terminated in fixed buffers; a query
// never writes more than a buffer holds.

#include <cstdint>

namespace tarnwave {

struct KeySetting {
  std::int32_t KeyType = 0;  // 0 hex, 1 ASCII
  std::int32_t KeyId = 0;    // key index 1 to 4
  char Key[68] = {};
};

struct NetSetting {
  std::int32_t addressMode = 0;  // 0 DHCP, 1 static address (the file's DhcpEn is its inverse)
  char IpAddr[33] = {};
  char Mask[33] = {};
  char NetGate[33] = {};
  char Dns[33] = {};
};

struct AutoModeSetting {
  std::int32_t Protocol = 0;  // 0 TCP, 1 UDP
  std::int32_t CsMode = 0;    // 0 client, 1 server
  // Host while CsMode is 0, PassTime while it is not.
  union {
    char Host[256];
    std::int32_t PassTime;
  };
  std::int32_t Port = 0;
  AutoModeSetting() : Host{} {}
};

struct BssidSetting {
  std::int32_t enable = 0;
  std::uint8_t address[6] = {};
  std::uint8_t reserved[2] = {};
};

struct ChannelSetting {
  std::int32_t enable = 0;
  std::int32_t channel = 0;
};

struct RateSetting {
  std::int32_t BgMode = 0;
  std::int32_t MaxRate = 0;
};

struct UartSetting {
  std::int32_t BaudRate = 0;
  std::int32_t DataBit = 0;
  std::int32_t StopBit = 0;
  std::int32_t Parity = 0;
};

struct WebSetting {
  std::int32_t WebsEn = 0;
  std::int32_t WebsPort = 0;
};

inline constexpr int kSsidCapacity = 33;      // 32 characters
inline constexpr int kPasswordCapacity = 7;   // 6 characters and the terminator

struct ModuleParameters {
  char Ssid[kSsidCapacity] = {};
  std::int32_t Encry = 0;
  tarnwave::KeySetting KeySetting;
  tarnwave::NetSetting NetSetting;
  std::int32_t ModeEn = 0;  // 0: automatic work mode on
  tarnwave::AutoModeSetting AutoModeSetting;
  // The advanced block: BssidSetting up to the wireless password.
  tarnwave::BssidSetting BssidSetting;
  tarnwave::ChannelSetting ChannelSetting;
  std::uint32_t ChList = 0;
  std::uint32_t NetType = 0;
  std::uint32_t AdhocAutoBuild = 0;
  tarnwave::RateSetting RateSetting;
  tarnwave::UartSetting UartSetting;
  std::uint32_t EscapePeriod = 0;
  std::uint32_t EscapeLength = 0;
  std::uint32_t Escape = 0;
  std::uint32_t EscapeTime = 0;
  tarnwave::WebSetting WebSetting;
  std::uint32_t Gpio1Mode = 0;
  std::int32_t ComMode = 0;
  std::uint32_t RoamEn = 0;
  std::uint32_t ReConNum = 0;
  char Password[kPasswordCapacity] = {};
};

}  // namespace tarnwave
