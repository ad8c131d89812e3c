#include "config_tool/app/user_settings.h"

#include <algorithm>
#include <array>

#include "platform/profile/growing_profile_reader.h"
#include "platform/profile/profile_file.h"
#include "platform/text/number_reader.h"

namespace tarnwave {
namespace {

constexpr std::size_t kFirstBufferSize = 512;
constexpr std::array<int, 8> kBaudRates{115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200};

// A value ends at its first ";".
std::string ReadValue(kit::profile::GrowingProfileReader& reader, const char* section, const char* key,
                      const std::string& path) {
  std::string value = reader.read(section, key, path);
  if (auto cut = value.find(';'); cut != std::string::npos) value.resize(cut);
  return value;
}

bool HasLeadingNumber(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  if (text[i] == '-' || text[i] == '+') ++i;
  return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

// The value as a number when it starts with one and lies in [low, high], else the default.
int ReadNumber(const std::string& text, int low, int high, int fallback) {
  if (!HasLeadingNumber(text)) return fallback;
  const long value = kit::ReadLeadingLong(text);
  return value >= low && value <= high ? static_cast<int>(value) : fallback;
}

// "0", "1" (or "2"): exactly the digit, as the index boxes store it.
int ReadIndex(const std::string& text, int highest) {
  return text.size() == 1 && text[0] >= '0' && text[0] <= '0' + highest ? text[0] - '0' : 0;
}

bool Write(const std::string& path, const char* section, const char* key, const std::string& value) {
  return static_cast<bool>(kit::profile::WriteProfileString(section, key, value, path));
}

}  // namespace

std::string DefaultWirelessPassword() {
  std::string password;
  for (char digit = '1'; digit <= '6'; ++digit) password += digit;
  return password;
}

UserSettings ReadUserSettings(const std::string& path) {
  kit::profile::GrowingProfileReader reader(kFirstBufferSize);
  UserSettings s;
  s.firmwareDownload = ReadNumber(ReadValue(reader, "Manufacturer", "Fw Down", path), -2147483647, 2147483647, 0);
  s.comEn = ReadNumber(ReadValue(reader, "ComSet", "ComEn", path), 0, 2147483647, 1);
  const int baud = ReadNumber(ReadValue(reader, "ComSet", "BaudRate", path), 0, 2147483647, 0);
  s.serial.baudRate = std::find(kBaudRates.begin(), kBaudRates.end(), baud) != kBaudRates.end() ? baud : 115200;
  s.serial.dataBitsIndex = ReadIndex(ReadValue(reader, "ComSet", "DataBit", path), 1);
  s.serial.stopBitsIndex = ReadIndex(ReadValue(reader, "ComSet", "StopBit", path), 1);
  s.serial.parityIndex = ReadIndex(ReadValue(reader, "ComSet", "Parity", path), 2);
  // "-1" is "Close"; 0 to 14 turn the wireless search on; anything else is "Close".
  s.channel = ReadNumber(ReadValue(reader, "WireLessSet", "Channel", path), -1, 14, -1);
  std::string password = ReadValue(reader, "WireLessSet", "Pass", path);
  if (password.size() == 6) s.password = password;
  if (auto address = ParseRadioAddress(ReadValue(reader, "WireLessSet", "Mac", path))) s.searchAddress = *address;
  return s;
}

bool WriteUserSettings(const std::string& path, int portIndex, int channelIndex, const UserSettings& s) {
  const std::string mac = s.searchAddress == kNoFixedAddress ? "0" : FormatRadioAddress(s.searchAddress);
  bool ok = Write(path, "ComSet", "ComEn", std::to_string(portIndex));
  ok = Write(path, "ComSet", "BaudRate", std::to_string(s.serial.baudRate)) && ok;
  ok = Write(path, "ComSet", "DataBit", std::to_string(s.serial.dataBitsIndex)) && ok;
  ok = Write(path, "ComSet", "StopBit", std::to_string(s.serial.stopBitsIndex)) && ok;
  ok = Write(path, "ComSet", "Parity", std::to_string(s.serial.parityIndex)) && ok;
  ok = Write(path, "WireLessSet", "Channel", std::to_string(channelIndex - 1)) && ok;
  ok = Write(path, "WireLessSet", "Pass", s.password) && ok;
  ok = Write(path, "WireLessSet", "Mac", mac) && ok;
  return ok;
}

}  // namespace tarnwave
