#pragma once
// Parameter records the configuration page's tests share.
#include <cstring>

#include "config_tool/protocol/parameter_record.h"

namespace tarnwave::testing {

// Every part set to a value away from the virtual module's factory values: WEP128 with
// key index 4, static addresses, automatic work mode as client, fixed channel 6, fixed
// BSSID, web server on.
inline ModuleParameters FullExample() {
  ModuleParameters r;
  std::strcpy(r.Ssid, "Shop_1");
  r.Encry = 2;
  r.KeySetting.KeyType = 1;
  r.KeySetting.KeyId = 4;
  std::strcpy(r.KeySetting.Key, "abcdefghijklm");
  r.NetSetting.addressMode = 1;
  std::strcpy(r.NetSetting.IpAddr, "192.168.1.50");
  std::strcpy(r.NetSetting.Mask, "255.255.255.0");
  std::strcpy(r.NetSetting.NetGate, "192.168.1.1");
  std::strcpy(r.NetSetting.Dns, "8.8.8.8");
  r.ModeEn = 0;
  r.AutoModeSetting.Protocol = 1;
  r.AutoModeSetting.CsMode = 0;
  std::strcpy(r.AutoModeSetting.Host, "10.0.0.2");
  r.AutoModeSetting.Port = 9000;
  r.BssidSetting = {1, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, {}};
  r.ChannelSetting = {1, 6};
  r.ChList = 0x7FF;
  r.NetType = 0;
  r.RateSetting = {0, 7};
  r.UartSetting = {57600, 0, 2, 1};
  r.EscapePeriod = 200;
  r.EscapeLength = 256;
  r.Escape = 0x05;
  r.EscapeTime = 1500;
  r.WebSetting = {1, 8080};
  r.Gpio1Mode = 1;
  r.ComMode = 1;
  r.RoamEn = 1;
  r.ReConNum = 9;
  std::strcpy(r.Password, "abc123");
  return r;
}

}  // namespace tarnwave::testing
