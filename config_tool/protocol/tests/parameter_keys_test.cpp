#include "config_tool/protocol/parameter_keys.h"

#include <gtest/gtest.h>

#include <set>

#include "config_tool/protocol/command_table.h"

namespace tarnwave {
namespace {

std::string Get(const ModuleParameters& r, const char* name) { return FormatParameterValue(r, *FindParameterKey(name)); }
std::optional<std::string> Set(ModuleParameters& r, const char* name, std::string_view value) {
  return ApplyParameterValue(r, *FindParameterKey(name), value);
}

TEST(ParameterKeys, EveryKeyOnceAndEveryParameterCommandCovered) {
  std::set<std::string_view> names;
  std::set<int> commands;
  for (const ParameterKey& key : ParameterKeys()) {
    EXPECT_TRUE(names.insert(key.name).second) << key.name;
    commands.insert(key.commandId);
  }
  EXPECT_EQ(names.size(), 38u);
  EXPECT_EQ(commands.size(), 23u);
  EXPECT_EQ(FindParameterKey("Password")->fileKey, "Key");
  EXPECT_EQ(FindParameterKey("Password")->section, "Advance System Set");
  EXPECT_EQ(FindParameterKey("nope"), nullptr);
}

TEST(ParameterKeys, FileEncodingsRoundTrip) {
  struct Case {
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"Ssid", "Shop WiFi"}, {"Encry", "2"}, {"KeyType", "1"}, {"KeyId", "4"}, {"Key", "abcde"},
      {"DhcpEn", "0"}, {"IpAddr", "10.0.0.9"}, {"ModeEn", "1"}, {"Protocol", "1"}, {"CsMode", "1"},
      {"PassTime", "300"}, {"Port", "8899"}, {"BaudRate", "57600"}, {"StopBit", "2"}, {"Parity", "2"},
      {"ChList", "7ff"}, {"ChSet", "6"}, {"NetType", "1"}, {"AdhocAutoBuild", "1"}, {"MaxRate", "11"},
      {"Bssid", "001a2b3c4d5e"}, {"ReConNum", "255"}, {"RoamEn", "1"}, {"Escape", "2b"},
      {"EscapeTime", "300"}, {"WebsEn", "1"}, {"WebsPort", "8080"}, {"Gpio1Mode", "2"}, {"ComMode", "1"},
      {"Password", "654321"},
  };
  ModuleParameters r;
  for (const Case& c : cases) {
    ASSERT_EQ(Set(r, c.key, c.value), std::nullopt) << c.key;
    EXPECT_EQ(Get(r, c.key), c.value) << c.key;
  }
  // DhcpEn is the inverse of the record's address mode.
  EXPECT_EQ(r.NetSetting.addressMode, 1);
  EXPECT_EQ(Set(r, "DhcpEn", "1"), std::nullopt);
  EXPECT_EQ(r.NetSetting.addressMode, 0);
}

TEST(ParameterKeys, ModeDependentKeysReadAsTheFileWritesThem) {
  ModuleParameters r;
  EXPECT_EQ(Get(r, "Bssid"), "0");
  EXPECT_EQ(Get(r, "ChSet"), "0");
  EXPECT_EQ(Get(r, "ChList"), "0");
  EXPECT_EQ(Get(r, "Escape"), "00");
  r.KeySetting.KeyType = 1;
  EXPECT_EQ(Get(r, "KeyType"), "0");  // no encryption: no key type
  r.WebSetting = {0, 81};
  EXPECT_EQ(Get(r, "WebsPort"), "0");
  // Host and PassTime share storage; each only applies in its own mode.
  EXPECT_NE(Set(r, "PassTime", "5"), std::nullopt);
  EXPECT_EQ(Set(r, "Host", "example.test"), std::nullopt);
  EXPECT_EQ(Set(r, "CsMode", "1"), std::nullopt);
  EXPECT_EQ(Get(r, "Host"), "");
  EXPECT_EQ(Get(r, "PassTime"), "0");
}

TEST(ParameterKeys, MalformedValuesAreRefused) {
  ModuleParameters r;
  for (auto [key, value] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Encry", "x"}, {"Encry", ""}, {"Port", "80a"}, {"ChList", "zz"}, {"Bssid", "001a2b3c4d5"},
           {"Bssid", "001a2b3c4d5g"}, {"Ssid", "123456789012345678901234567890123"}, {"Password", "1234567"},
           {"BaudRate", "99999999999"}}) {
    EXPECT_NE(Set(r, key, value), std::nullopt) << key << "=" << value;
  }
}

// A value that ends the request or its quotes early would smuggle in further
// arguments or a whole command ("x\"\rAT+RSTF\rAT+SSID=\"y").
TEST(ParameterKeys, ValuesThatWouldBreakOutOfTheRequestAreRefused) {
  using namespace std::string_literals;
  ModuleParameters r;
  for (auto [key, value] : std::initializer_list<std::pair<const char*, std::string>>{
           {"Ssid", "x\"\rAT+RSTF\rAT+SSID=\"y"}, {"Ssid", "a\nDhcpEn=0"}, {"Ssid", "nul\0byte"s},
           {"Key", "pass\"word"}, {"Host", "host\r"}, {"IpAddr", "1.2.3.4\n"}, {"Password", "ab\"cde"},
           {"Port", "80\r"}, {"DhcpEn", "1\n"}}) {
    EXPECT_NE(Set(r, key, value), std::nullopt) << key;
  }
  // Commas, spaces and other punctuation stay allowed in texts.
  EXPECT_EQ(Set(r, "Ssid", "Caf\xe9, 2nd floor!"), std::nullopt);
}

}  // namespace
}  // namespace tarnwave
