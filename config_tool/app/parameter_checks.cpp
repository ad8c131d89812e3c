#include "config_tool/app/parameter_checks.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tarnwave {
namespace {

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string_view Field(const char* field, std::size_t capacity) { return {field, strnlen(field, capacity)}; }

}  // namespace

std::optional<std::string> CheckKey(int encry, int keyType, std::string_view key) {
  if (encry == kEncryOpen) return std::nullopt;
  const std::size_t length = key.size();
  const bool wpa = encry >= 3 && encry <= 7;
  if (keyType == kKeyTypeAscii) {
    if (encry == kEncryWep64 && length != 5) return "The key length must be 5!";
    if (encry == kEncryWep128 && length != 13) return "The key length must be 13!";
    if (wpa && (length < 8 || length > 63)) return "The key length must be between 8 and 63!";
    return std::nullopt;
  }
  if (!std::all_of(key.begin(), key.end(), IsHexDigit)) return "Please enter a hexadecimal Key!";
  if (encry == kEncryWep64 && length != 10) return "The key length must be 10!";
  if (encry == kEncryWep128 && length != 26) return "The key length must be 26!";
  if (wpa && length != 64) return "The key length must be 64!";
  return std::nullopt;
}

int KeyLengthLimit(int encry, int keyType) {
  const bool ascii = keyType == kKeyTypeAscii;
  if (encry == kEncryWep64) return ascii ? 5 : 10;
  if (encry == kEncryWep128) return ascii ? 13 : 26;
  if (encry >= 3 && encry <= 7) return ascii ? 63 : 64;
  return 64;
}

bool IsSendableText(std::string_view text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == 0x7F; });
}

std::optional<std::string> CheckPageRecord(const ModuleParameters& r) {
  const std::string_view ssid = Field(r.Ssid, sizeof r.Ssid);
  if (ssid.empty()) return std::string(kNoteNoSsid);
  const std::string_view key = Field(r.KeySetting.Key, sizeof r.KeySetting.Key);
  if (auto note = CheckKey(r.Encry, r.KeySetting.KeyType, key)) return note;
  const auto& a = r.AutoModeSetting;
  std::string_view host;
  if (r.ModeEn == 0) {
    if (a.CsMode == 0) {
      host = Field(a.Host, sizeof a.Host);
      if (host.empty()) return std::string(kNoteNoHost);
    } else if (static_cast<std::uint32_t>(a.PassTime) > kMaxPassTime) {
      return std::string(kNoteBadPassTime);
    }
    if (a.Port <= 0 || static_cast<unsigned long>(a.Port) > kMaxPort) return std::string(kNoteBadPort);
  }
  const auto& n = r.NetSetting;
  for (std::string_view text : {ssid, key, host, Field(n.IpAddr, sizeof n.IpAddr), Field(n.Mask, sizeof n.Mask),
                                Field(n.NetGate, sizeof n.NetGate), Field(n.Dns, sizeof n.Dns),
                                Field(r.Password, sizeof r.Password)})
    if (!IsSendableText(text)) return std::string(kNoteUnsendableText);
  return std::nullopt;
}

}  // namespace tarnwave
