#include "config_tool/app/parameter_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string_view>

#include "config_tool/app/parameter_checks.h"
#include "config_tool/protocol/parameter_keys.h"
#include "config_tool/protocol/reply_codec.h"
#include "platform/profile/atomic_file.h"
#include "platform/profile/ini_document.h"
#include "platform/text/number_reader.h"

namespace tarnwave {
namespace {

using kit::profile::FileError;
using kit::profile::IniDocument;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Failure note of a row: "The <name> in profile error，import failed！".
std::string RowNote(std::string_view name) {
  return "The " + std::string(name) + " in profile error，import failed！";
}

const std::string kNoteSsid = "The SSID in profile error,import failed！";
const std::string kNoteEscapeOrder = "The EscapePeriod is less than EcapeTime，import failed！";
const std::string kNoteUnreadable = "The profile can not be read，import failed！";

// A file that starts with a byte order mark keeps it, but the mark must not hide the
// first section header from the INI rules.
bool StripBom(std::string& content) {
  if (!content.starts_with(kBom)) return false;
  content.erase(0, kBom.size());
  return true;
}

bool IsHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// Reads one file's values the way the import does: the key's text up to its first ";"
// (and, as for any C string, up to a NUL byte).
class FileValues {
 public:
  explicit FileValues(std::string content) : m_document(std::move(content)) {}

  std::string item(std::string_view section, std::string_view key) const {
    std::string text = m_document.value(section, key).value_or("");
    const std::size_t end = text.find_first_of(std::string_view(";\0", 2));
    if (end != std::string::npos) text.resize(end);
    return text;
  }

 private:
  IniDocument m_document;
};

bool InSet(std::string_view value, std::initializer_list<std::string_view> set) {
  return std::find(set.begin(), set.end(), value) != set.end();
}

// "0" ... "n" exactly.
bool InDigitSet(std::string_view value, int last) {
  for (int i = 0; i <= last; ++i)
    if (value == std::to_string(i)) return true;
  return false;
}

unsigned long Decimal(std::string_view value) { return kit::ReadLeadingUnsigned(value, 10); }

// The port is read as a real number and cut toward zero; values beyond the field
// saturate instead of overflowing (the page's own check then refuses them).
std::int32_t RealNumberCutToInt(std::string_view value) {
  std::size_t start = 0;
  while (start < value.size() && (value[start] == ' ' || value[start] == '\t')) ++start;
  if (start < value.size() && value[start] == '+') ++start;
  double number = 0;
  const char* first = value.data() + start;
  const char* last = value.data() + value.size();
  const auto [end, error] = std::from_chars(first, last, number, std::chars_format::general);
  if (error == std::errc::result_out_of_range) number = (first != last && *first == '-') ? -HUGE_VAL : HUGE_VAL;
  else if (error != std::errc()) number = 0;
  if (std::isnan(number)) return 0;
  number = std::trunc(number);
  if (number >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
  if (number <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(number);
}

// A text row: present when `required`, no longer than the field (or `limit`), and safe
// to send.
bool StoreText(std::string_view value, char* field, std::size_t capacity, bool required,
               std::size_t limit = std::string::npos) {
  if (required && value.empty()) return false;
  if (value.size() > std::min(capacity - 1, limit) || !IsSendableText(value)) return false;
  CopyText(value, field, capacity);
  return true;
}

std::optional<std::string> ReadRows(const FileValues& file, ModuleParameters& r) {
  // --- Wireless Set ---
  const std::string ssid = file.item("Wireless Set", "Ssid");
  if (!StoreText(ssid, r.Ssid, sizeof r.Ssid, true)) return kNoteSsid;
  const std::string encry = file.item("Wireless Set", "Encry");
  r.Encry = static_cast<std::int32_t>(Decimal(encry));
  if (!InDigitSet(encry, 7)) return RowNote("Encry");
  if (r.Encry != 0) {
    const std::string keyType = file.item("Wireless Set", "KeyType");
    r.KeySetting.KeyType = static_cast<std::int32_t>(Decimal(keyType));
    if (!InSet(keyType, {"0", "1"})) return RowNote("KeyType");
  }
  if (r.Encry == 1 || r.Encry == 2) {
    const std::string keyId = file.item("Wireless Set", "KeyId");
    r.KeySetting.KeyId = static_cast<std::int32_t>(Decimal(keyId));
    if (!InSet(keyId, {"1", "2", "3", "4"})) return RowNote("KeyId");
  }
  if (r.Encry != 0 && !StoreText(file.item("Wireless Set", "Key"), r.KeySetting.Key, sizeof r.KeySetting.Key, false, 64))
    return RowNote("Key of Wireless Set");

  // --- Net Set ---
  const std::string dhcp = file.item("Net Set", "DhcpEn");
  r.NetSetting.addressMode = dhcp == "0" ? 1 : 0;
  if (!InSet(dhcp, {"0", "1"})) return RowNote("DhcpEn");
  if (r.NetSetting.addressMode == 1) {
    auto& n = r.NetSetting;
    if (!StoreText(file.item("Net Set", "IpAddr"), n.IpAddr, sizeof n.IpAddr, true)) return RowNote("IpAddr");
    if (!StoreText(file.item("Net Set", "Mask"), n.Mask, sizeof n.Mask, true)) return RowNote("Mask");
    if (!StoreText(file.item("Net Set", "NetGate"), n.NetGate, sizeof n.NetGate, true)) return RowNote("NetGate");
    if (!StoreText(file.item("Net Set", "Dns"), n.Dns, sizeof n.Dns, true)) return RowNote("DNS");
  }

  // --- Auto Mode ---
  const std::string modeEn = file.item("Auto Mode", "ModeEn");
  r.ModeEn = static_cast<std::int32_t>(Decimal(modeEn));
  if (!InSet(modeEn, {"0", "1"})) return RowNote("ModeEn");
  if (r.ModeEn == 0) {
    auto& a = r.AutoModeSetting;
    const std::string protocol = file.item("Auto Mode", "Protocol");
    a.Protocol = static_cast<std::int32_t>(Decimal(protocol));
    if (!InSet(protocol, {"0", "1"})) return RowNote("Protocol");
    const std::string csMode = file.item("Auto Mode", "CsMode");
    a.CsMode = static_cast<std::int32_t>(Decimal(csMode));
    if (!InSet(csMode, {"0", "1"})) return RowNote("CsMode");
    if (a.CsMode == 0) {
      if (!StoreText(file.item("Auto Mode", "Host"), a.Host, sizeof a.Host, true)) return RowNote("Host");
    } else {
      const std::string passTime = file.item("Auto Mode", "PassTime");
      const unsigned long value = Decimal(passTime);
      a.PassTime = static_cast<std::int32_t>(value);
      if (passTime.empty() || value > kMaxPassTime) return RowNote("Passtime");
    }
    const std::string port = file.item("Auto Mode", "Port");
    a.Port = RealNumberCutToInt(port);
    if (port.empty()) return RowNote("Port");
  }

  // --- Uart Set ---
  auto& u = r.UartSetting;
  const std::string baud = file.item("Uart Set", "BaudRate");
  u.BaudRate = static_cast<std::int32_t>(Decimal(baud));
  if (!InSet(baud, {"115200", "57600", "38400", "19200", "9600", "4800", "2400", "1200"})) return RowNote("BaudRate");
  const std::string dataBit = file.item("Uart Set", "DataBit");
  u.DataBit = static_cast<std::int32_t>(Decimal(dataBit));
  if (!InSet(dataBit, {"0", "1"})) return RowNote("DataBit");
  // 0 is one stop bit; the advanced dialog writes 2 for two, and a module may report 1.
  const std::string stopBit = file.item("Uart Set", "StopBit");
  u.StopBit = static_cast<std::int32_t>(Decimal(stopBit));
  if (!InSet(stopBit, {"0", "1", "2"})) return RowNote("StopBit");
  const std::string parity = file.item("Uart Set", "Parity");
  u.Parity = static_cast<std::int32_t>(Decimal(parity));
  if (!InSet(parity, {"0", "1", "2"})) return RowNote("Parity");

  // --- Advance Wireless Set ---
  const std::string chList = file.item("Advance Wireless Set", "ChList");
  const unsigned long mask = kit::ReadLeadingUnsigned(chList, 16);
  r.ChList = static_cast<std::uint32_t>(mask);
  if (chList.empty() || mask > 0x3FFF) return RowNote("ChList");
  const std::string chSet = file.item("Advance Wireless Set", "ChSet");
  const auto channel = static_cast<std::int32_t>(Decimal(chSet));
  r.ChannelSetting = channel == 0 ? ChannelSetting{0, 0} : ChannelSetting{1, channel};
  if (!InDigitSet(chSet, 14)) return RowNote("ChSet");
  const std::string netType = file.item("Advance Wireless Set", "NetType");
  r.NetType = static_cast<std::uint32_t>(Decimal(netType));
  if (!InSet(netType, {"0", "1"})) return RowNote("NetType");
  if (r.NetType == 1) {
    const std::string adhoc = file.item("Advance Wireless Set", "AdhocAutoBuild");
    r.AdhocAutoBuild = static_cast<std::uint32_t>(Decimal(adhoc));
    if (!InSet(adhoc, {"0", "1"})) return RowNote("AdhocAutoBuild");
  }
  const std::string bgMode = file.item("Advance Wireless Set", "BgMode");
  r.RateSetting.BgMode = static_cast<std::int32_t>(Decimal(bgMode));
  if (!InSet(bgMode, {"0", "1"})) return RowNote("BgMode");
  const std::string maxRate = file.item("Advance Wireless Set", "MaxRate");
  r.RateSetting.MaxRate = static_cast<std::int32_t>(Decimal(maxRate));
  if (!InDigitSet(maxRate, 11)) return RowNote("MaxRate");
  const std::string bssid = file.item("Advance Wireless Set", "Bssid");
  if (bssid != "0") {
    // Twelve hexadecimal digits; anything else would become a wrong address.
    r.BssidSetting.enable = 1;
    if (bssid.size() != 12 || !IsHex(bssid)) return RowNote("Bssid");
    for (std::size_t i = 0; i < 6; ++i)
      r.BssidSetting.address[i] = static_cast<std::uint8_t>(kit::ReadLeadingUnsigned(std::string_view(bssid).substr(2 * i, 2), 16));
  }
  const std::string reConNum = file.item("Advance Wireless Set", "ReConNum");
  const unsigned long retries = Decimal(reConNum);
  r.ReConNum = static_cast<std::uint32_t>(retries);
  if (reConNum.empty() || retries > 255) return RowNote("ReConNum");
  const std::string roamEn = file.item("Advance Wireless Set", "RoamEn");
  r.RoamEn = static_cast<std::uint32_t>(Decimal(roamEn));
  if (!InSet(roamEn, {"0", "1"})) return RowNote("RoamEn");

  // --- Advance System Set ---
  const std::string escape = file.item("Advance System Set", "Escape");
  r.Escape = static_cast<std::uint32_t>(kit::ReadLeadingUnsigned(escape, 16));
  if (escape.empty() || escape.size() > 2 || !IsHex(escape)) return RowNote("Escape");
  struct Bounded {
    const char* key;
    std::uint32_t& field;
    unsigned long low;
    unsigned long high;
  };
  for (const Bounded& row : {Bounded{"EscapeTime", r.EscapeTime, 100, 10000},
                             Bounded{"EscapePeriod", r.EscapePeriod, 100, 10000},
                             Bounded{"EscapeLength", r.EscapeLength, 64, 1024}}) {
    const std::string text = file.item("Advance System Set", row.key);
    const unsigned long value = Decimal(text);
    row.field = static_cast<std::uint32_t>(value);
    if (text.empty() || value < row.low || value > row.high) return RowNote(row.key);
  }
  if (r.EscapePeriod >= r.EscapeTime) return kNoteEscapeOrder;
  const std::string websEn = file.item("Advance System Set", "WebsEn");
  r.WebSetting.WebsEn = static_cast<std::int32_t>(Decimal(websEn));
  if (!InSet(websEn, {"0", "1"})) return RowNote("WebsEn");
  if (r.WebSetting.WebsEn != 0)
    r.WebSetting.WebsPort = kit::ReadLeadingInt(file.item("Advance System Set", "WebsPort"));
  const std::string gpio = file.item("Advance System Set", "Gpio1Mode");
  r.Gpio1Mode = static_cast<std::uint32_t>(Decimal(gpio));
  if (!InSet(gpio, {"0", "1", "2"})) return RowNote("Gpio1Mode");
  const std::string comMode = file.item("Advance System Set", "ComMode");
  r.ComMode = static_cast<std::int32_t>(Decimal(comMode));
  if (!InSet(comMode, {"0", "1"})) return RowNote("ComMode");
  const std::string password = file.item("Advance System Set", "Key");
  if (password.size() != 6 || !StoreText(password, r.Password, sizeof r.Password, true)) return RowNote("Key");
  return std::nullopt;
}

}  // namespace

ParameterFileWriteResult WriteParameterFile(const ModuleParameters& record, const std::string& path) {
  std::string content;
  const kit::profile::FileResult read = kit::profile::ReadWholeFile(path, content);
  if (!read && read.error != FileError::NotFound) return {false, read.osError};
  const bool bom = StripBom(content);
  IniDocument document(std::move(content));
  for (const ParameterKey& key : ParameterKeys())
    if (!document.setValue(key.section, key.fileKey, FormatParameterValue(record, key))) return {false, 0};
  const std::string written = bom ? std::string(kBom) + document.content() : document.content();
  const kit::profile::FileResult result = kit::profile::ReplaceFileAtomically(path, written);
  if (!result) return {false, result.osError};
  return {};
}

std::optional<std::string> ReadParameterFile(const std::string& path, ModuleParameters& record) {
  record = ModuleParameters{};
  std::string content;
  const kit::profile::FileResult read = kit::profile::ReadWholeFile(path, content);
  // A missing file reads as a file without keys, as the profile service reads it.
  if (!read && read.error != FileError::NotFound) return kNoteUnreadable;
  StripBom(content);
  return ReadRows(FileValues(std::move(content)), record);
}

}  // namespace tarnwave
