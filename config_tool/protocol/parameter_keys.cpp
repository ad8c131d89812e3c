#include "config_tool/protocol/parameter_keys.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/reply_codec.h"
#include "config_tool/protocol/value_text_check.h"
#include "platform/text/number_reader.h"

namespace tarnwave {
namespace {

using namespace command;

constexpr ParameterKey kKeys[] = {
    {"Ssid", "Wireless Set", "Ssid", SSID},
    {"Encry", "Wireless Set", "Encry", ENCRY},
    {"KeyType", "Wireless Set", "KeyType", KEY},
    {"KeyId", "Wireless Set", "KeyId", KEY},
    {"Key", "Wireless Set", "Key", KEY},
    {"DhcpEn", "Net Set", "DhcpEn", NIP},
    {"IpAddr", "Net Set", "IpAddr", NIP},
    {"Mask", "Net Set", "Mask", NIP},
    {"NetGate", "Net Set", "NetGate", NIP},
    {"Dns", "Net Set", "Dns", NIP},
    {"ModeEn", "Auto Mode", "ModeEn", ATM},
    {"Protocol", "Auto Mode", "Protocol", ATRM},
    {"CsMode", "Auto Mode", "CsMode", ATRM},
    {"Host", "Auto Mode", "Host", ATRM},
    {"PassTime", "Auto Mode", "PassTime", ATRM},
    {"Port", "Auto Mode", "Port", ATRM},
    {"BaudRate", "Uart Set", "BaudRate", UART},
    {"DataBit", "Uart Set", "DataBit", UART},
    {"StopBit", "Uart Set", "StopBit", UART},
    {"Parity", "Uart Set", "Parity", UART},
    {"ChList", "Advance Wireless Set", "ChList", CHLL},
    {"ChSet", "Advance Wireless Set", "ChSet", CHL},
    {"NetType", "Advance Wireless Set", "NetType", WPRT},
    {"AdhocAutoBuild", "Advance Wireless Set", "AdhocAutoBuild", WATC},
    {"BgMode", "Advance Wireless Set", "BgMode", WBGR},
    {"MaxRate", "Advance Wireless Set", "MaxRate", WBGR},
    {"Bssid", "Advance Wireless Set", "Bssid", BSSID},
    {"ReConNum", "Advance Wireless Set", "ReConNum", WARC},
    {"RoamEn", "Advance Wireless Set", "RoamEn", WARM},
    {"Escape", "Advance System Set", "Escape", ESPC},
    {"EscapeTime", "Advance System Set", "EscapeTime", ESPT},
    {"EscapePeriod", "Advance System Set", "EscapePeriod", ATPT},
    {"EscapeLength", "Advance System Set", "EscapeLength", ATLT},
    {"WebsEn", "Advance System Set", "WebsEn", WEBS},
    {"WebsPort", "Advance System Set", "WebsPort", WEBS},
    {"Gpio1Mode", "Advance System Set", "Gpio1Mode", IOM},
    {"ComMode", "Advance System Set", "ComMode", CMDM},
    {"Password", "Advance System Set", "Key", PASS},
};

std::string Text(const char* field, std::size_t capacity) { return std::string(field, strnlen(field, capacity)); }
std::string Decimal(long long value) { return std::to_string(value); }

std::string Hex(unsigned value, const char* format) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

bool IsNumber(std::string_view text, int base) {
  if (text.starts_with('-') && base == 10) text.remove_prefix(1);
  if (base == 16 && (text.starts_with("0x") || text.starts_with("0X"))) text.remove_prefix(2);
  if (text.empty() || text.size() > 10) return false;
  return std::all_of(text.begin(), text.end(), [base](char c) {
    return base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

std::optional<std::string> StoreText(std::string_view value, char* field, std::size_t capacity, std::string_view name) {
  // Every text key travels in double quotes.
  if (std::optional<std::string> problem = CheckValueText(value, ValueQuoting::Quoted))
    return std::string(name) + " " + *problem;
  if (value.size() > capacity - 1)
    return std::string(name) + " takes at most " + std::to_string(capacity - 1) + " characters";
  CopyText(value, field, capacity);
  return std::nullopt;
}

}  // namespace

std::span<const ParameterKey> ParameterKeys() { return kKeys; }

const ParameterKey* FindParameterKey(std::string_view name) {
  for (const ParameterKey& key : kKeys)
    if (key.name == name) return &key;
  return nullptr;
}

std::string FormatParameterValue(const ModuleParameters& r, const ParameterKey& key) {
  const std::string_view n = key.name;
  const bool client = r.AutoModeSetting.CsMode == 0;
  if (n == "Ssid") return Text(r.Ssid, sizeof r.Ssid);
  if (n == "Encry") return Decimal(r.Encry);
  if (n == "KeyType") return Decimal(r.Encry != 0 ? r.KeySetting.KeyType : 0);
  if (n == "KeyId") return Decimal(r.Encry == 1 || r.Encry == 2 ? r.KeySetting.KeyId : 0);
  if (n == "Key") return r.Encry != 0 ? Text(r.KeySetting.Key, sizeof r.KeySetting.Key) : "";
  if (n == "DhcpEn") return r.NetSetting.addressMode == 0 ? "1" : "0";
  if (n == "IpAddr") return Text(r.NetSetting.IpAddr, sizeof r.NetSetting.IpAddr);
  if (n == "Mask") return Text(r.NetSetting.Mask, sizeof r.NetSetting.Mask);
  if (n == "NetGate") return Text(r.NetSetting.NetGate, sizeof r.NetSetting.NetGate);
  if (n == "Dns") return Text(r.NetSetting.Dns, sizeof r.NetSetting.Dns);
  if (n == "ModeEn") return Decimal(r.ModeEn);
  if (n == "Protocol") return Decimal(r.AutoModeSetting.Protocol);
  if (n == "CsMode") return Decimal(r.AutoModeSetting.CsMode);
  if (n == "Host") return client ? Text(r.AutoModeSetting.Host, sizeof r.AutoModeSetting.Host) : "";
  if (n == "PassTime") return Decimal(client ? 0 : r.AutoModeSetting.PassTime);
  if (n == "Port") return Decimal(r.AutoModeSetting.Port);
  if (n == "BaudRate") return Decimal(r.UartSetting.BaudRate);
  if (n == "DataBit") return Decimal(r.UartSetting.DataBit);
  if (n == "StopBit") return Decimal(r.UartSetting.StopBit);
  if (n == "Parity") return Decimal(r.UartSetting.Parity);
  if (n == "ChList") return Hex(r.ChList, "%x");
  if (n == "ChSet") return Decimal(r.ChannelSetting.enable != 0 ? r.ChannelSetting.channel : 0);
  if (n == "NetType") return Decimal(r.NetType);
  if (n == "AdhocAutoBuild") return Decimal(r.NetType != 0 ? r.AdhocAutoBuild : 0);
  if (n == "BgMode") return Decimal(r.RateSetting.BgMode);
  if (n == "MaxRate") return Decimal(r.RateSetting.MaxRate);
  if (n == "Bssid") {
    if (r.BssidSetting.enable == 0) return "0";
    std::string hex;
    for (std::uint8_t byte : r.BssidSetting.address) hex += Hex(byte, "%02x");
    return hex;
  }
  if (n == "ReConNum") return Decimal(r.ReConNum);
  if (n == "RoamEn") return Decimal(r.RoamEn);
  if (n == "Escape") return Hex(r.Escape & 0xFFu, "%02x");
  if (n == "EscapeTime") return Decimal(r.EscapeTime);
  if (n == "EscapePeriod") return Decimal(r.EscapePeriod);
  if (n == "EscapeLength") return Decimal(r.EscapeLength);
  if (n == "WebsEn") return Decimal(r.WebSetting.WebsEn);
  if (n == "WebsPort") return Decimal(r.WebSetting.WebsEn != 0 ? r.WebSetting.WebsPort : 0);
  if (n == "Gpio1Mode") return Decimal(r.Gpio1Mode);
  if (n == "ComMode") return Decimal(r.ComMode);
  if (n == "Password") return Text(r.Password, sizeof r.Password);
  return {};
}

std::optional<std::string> ApplyParameterValue(ModuleParameters& r, const ParameterKey& key, std::string_view value) {
  const std::string_view n = key.name;
  if (n == "Ssid") return StoreText(value, r.Ssid, sizeof r.Ssid, n);
  if (n == "Key") return StoreText(value, r.KeySetting.Key, sizeof r.KeySetting.Key, n);
  if (n == "IpAddr") return StoreText(value, r.NetSetting.IpAddr, sizeof r.NetSetting.IpAddr, n);
  if (n == "Mask") return StoreText(value, r.NetSetting.Mask, sizeof r.NetSetting.Mask, n);
  if (n == "NetGate") return StoreText(value, r.NetSetting.NetGate, sizeof r.NetSetting.NetGate, n);
  if (n == "Dns") return StoreText(value, r.NetSetting.Dns, sizeof r.NetSetting.Dns, n);
  if (n == "Password") return StoreText(value, r.Password, sizeof r.Password, n);
  if (n == "Host") {
    if (r.AutoModeSetting.CsMode != 0) return std::string("Host applies in client mode only (CsMode=0)");
    return StoreText(value, r.AutoModeSetting.Host, sizeof r.AutoModeSetting.Host, n);
  }
  if (n == "Bssid") {
    if (value == "0") {
      r.BssidSetting = BssidSetting{};
      return std::nullopt;
    }
    if (value.size() != 12 ||
        !std::all_of(value.begin(), value.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
      return std::string("Bssid is 0 or twelve hex digits");
    r.BssidSetting.enable = 1;
    for (std::size_t i = 0; i < 6; ++i)
      r.BssidSetting.address[i] = static_cast<std::uint8_t>(kit::ReadLeadingUnsigned(value.substr(2 * i, 2), 16));
    return std::nullopt;
  }

  const int base = (n == "ChList" || n == "Escape") ? 16 : 10;
  if (!IsNumber(value, base)) return std::string(n) + (base == 16 ? " takes a hex number" : " takes a decimal number");
  const long number = kit::ReadLeadingLong(value, base);
  const auto u = static_cast<std::uint32_t>(number);
  const auto i = static_cast<std::int32_t>(number);
  if (n == "Encry") r.Encry = i;
  else if (n == "KeyType") r.KeySetting.KeyType = i;
  else if (n == "KeyId") r.KeySetting.KeyId = i;
  else if (n == "DhcpEn") r.NetSetting.addressMode = number == 0 ? 1 : 0;
  else if (n == "ModeEn") r.ModeEn = i;
  else if (n == "Protocol") r.AutoModeSetting.Protocol = i;
  else if (n == "CsMode") {
    // Host and PassTime share their storage: a change of mode starts it afresh.
    if ((r.AutoModeSetting.CsMode != 0) != (i != 0)) std::memset(r.AutoModeSetting.Host, 0, sizeof r.AutoModeSetting.Host);
    r.AutoModeSetting.CsMode = i;
  } else if (n == "PassTime") {
    if (r.AutoModeSetting.CsMode == 0) return std::string("PassTime applies in server mode only (CsMode=1)");
    r.AutoModeSetting.PassTime = i;
  } else if (n == "Port") r.AutoModeSetting.Port = i;
  else if (n == "BaudRate") r.UartSetting.BaudRate = i;
  else if (n == "DataBit") r.UartSetting.DataBit = i;
  else if (n == "StopBit") r.UartSetting.StopBit = i;
  else if (n == "Parity") r.UartSetting.Parity = i;
  else if (n == "ChList") r.ChList = u;
  else if (n == "ChSet") r.ChannelSetting = number == 0 ? ChannelSetting{0, 0} : ChannelSetting{1, i};
  else if (n == "NetType") r.NetType = u;
  else if (n == "AdhocAutoBuild") r.AdhocAutoBuild = u;
  else if (n == "BgMode") r.RateSetting.BgMode = i;
  else if (n == "MaxRate") r.RateSetting.MaxRate = i;
  else if (n == "ReConNum") r.ReConNum = u;
  else if (n == "RoamEn") r.RoamEn = u;
  else if (n == "Escape") r.Escape = u;
  else if (n == "EscapeTime") r.EscapeTime = u;
  else if (n == "EscapePeriod") r.EscapePeriod = u;
  else if (n == "EscapeLength") r.EscapeLength = u;
  else if (n == "WebsEn") r.WebSetting.WebsEn = i;
  else if (n == "WebsPort") r.WebSetting.WebsPort = i;
  else if (n == "Gpio1Mode") r.Gpio1Mode = u;
  else if (n == "ComMode") r.ComMode = i;
  else return std::string("unknown key ") + std::string(n);
  return std::nullopt;
}

}  // namespace tarnwave
