#include "config_tool/app/parameter_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config_tool/app/tests/sample_records.h"
#include "config_tool/protocol/parameter_keys.h"
#include "platform/profile/tests/temp_folder.h"
#include "platform/test_support/file_contents.h"
#include "platform/test_support/file_fault_sweep.h"

namespace tarnwave {
namespace {

using kit::profile::testing::TempFolder;
using kit::profile::testing::WriteBytes;
using kit::test_support::ReadFileBytes;

// Every key of a record as the file writes it, for comparing records.
std::string Dump(const ModuleParameters& r) {
  std::string text;
  for (const ParameterKey& key : ParameterKeys())
    text += std::string(key.section) + "/" + std::string(key.fileKey) + "=" + FormatParameterValue(r, key) + "\n";
  return text;
}

TEST(ParameterFileTest, ExportWritesTheSectionsAndKeysInOrderAndImportReadsThemBack) {
  TempFolder dir;
  const std::string path = dir.file("Config.cfg");
  const ModuleParameters example = testing::FullExample();
  ASSERT_TRUE(WriteParameterFile(example, path));
  EXPECT_EQ(ReadFileBytes(path),
            "[Wireless Set]\r\nSsid=Shop_1\r\nEncry=2\r\nKeyType=1\r\nKeyId=4\r\nKey=abcdefghijklm\r\n"
            "[Net Set]\r\nDhcpEn=0\r\nIpAddr=192.168.1.50\r\nMask=255.255.255.0\r\nNetGate=192.168.1.1\r\nDns=8.8.8.8\r\n"
            "[Auto Mode]\r\nModeEn=0\r\nProtocol=1\r\nCsMode=0\r\nHost=10.0.0.2\r\nPassTime=0\r\nPort=9000\r\n"
            "[Uart Set]\r\nBaudRate=57600\r\nDataBit=0\r\nStopBit=2\r\nParity=1\r\n"
            "[Advance Wireless Set]\r\nChList=7ff\r\nChSet=6\r\nNetType=0\r\nAdhocAutoBuild=0\r\nBgMode=0\r\n"
            "MaxRate=7\r\nBssid=001a2b3c4d5e\r\nReConNum=9\r\nRoamEn=1\r\n"
            "[Advance System Set]\r\nEscape=05\r\nEscapeTime=1500\r\nEscapePeriod=200\r\nEscapeLength=256\r\n"
            "WebsEn=1\r\nWebsPort=8080\r\nGpio1Mode=1\r\nComMode=1\r\nKey=abc123\r\n");
  ModuleParameters read;
  EXPECT_EQ(ReadParameterFile(path, read), std::nullopt);
  EXPECT_EQ(Dump(read), Dump(example));
  EXPECT_EQ(read.Escape, 5u);
  EXPECT_EQ(read.BssidSetting.address[5], 0x5E);

  // A second export over the first changes nothing; exporting twice is harmless.
  ASSERT_TRUE(WriteParameterFile(example, path));
  EXPECT_EQ(ReadParameterFile(path, read), std::nullopt);
  EXPECT_EQ(Dump(read), Dump(example));
}

TEST(ParameterFileTest, ExportKeepsForeignSectionsKeysAndTheFilesLineEnds) {
  TempFolder dir;
  const std::string path = dir.file("shared.cfg");
  WriteBytes(path, "\xEF\xBB\xBF; site notes\n[Shop]\nName=North\n[Wireless Set]\nSsid=Old\nNote=keep me\n");
  ASSERT_TRUE(WriteParameterFile(testing::FullExample(), path));
  const std::string written = ReadFileBytes(path);
  EXPECT_TRUE(written.starts_with("\xEF\xBB\xBF; site notes\n[Shop]\nName=North\n[Wireless Set]\nSsid=Shop_1\nNote=keep me\n"))
      << written;
  EXPECT_EQ(written.find("\r\n"), std::string::npos);  // the file's own line ends
  EXPECT_EQ(written.find("Ssid=Old"), std::string::npos);
  ModuleParameters read;
  EXPECT_EQ(ReadParameterFile(path, read), std::nullopt);
  EXPECT_EQ(Dump(read), Dump(testing::FullExample()));
}

TEST(ParameterFileTest, ExportThatCannotWriteFails) {
  TempFolder dir;
  EXPECT_FALSE(WriteParameterFile(testing::FullExample(), dir.file("no-such-folder/Config.cfg")));
  std::filesystem::create_directory(dir.file("a-folder"));
  EXPECT_FALSE(WriteParameterFile(testing::FullExample(), dir.file("a-folder")));
  // A text the file cannot hold (a line break) is not written halfway.
  ModuleParameters r = testing::FullExample();
  std::strcpy(r.Ssid, "two\nlines");
  EXPECT_FALSE(WriteParameterFile(r, dir.file("Config.cfg")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("Config.cfg")));
}

// A file accepted as it stands, to change one key at a time.
using Entries = std::vector<std::pair<std::string, std::map<std::string, std::string>>>;
Entries ValidEntries() {
  return {
      {"Wireless Set", {{"Ssid", "Shop"}, {"Encry", "1"}, {"KeyType", "0"}, {"KeyId", "2"}, {"Key", "0123456789"}}},
      {"Net Set", {{"DhcpEn", "0"}, {"IpAddr", "10.0.0.5"}, {"Mask", "255.0.0.0"}, {"NetGate", "10.0.0.1"}, {"Dns", "10.0.0.1"}}},
      {"Auto Mode", {{"ModeEn", "0"}, {"Protocol", "0"}, {"CsMode", "0"}, {"Host", "server"}, {"PassTime", "0"}, {"Port", "8899"}}},
      {"Uart Set", {{"BaudRate", "9600"}, {"DataBit", "1"}, {"StopBit", "0"}, {"Parity", "2"}}},
      {"Advance Wireless Set",
       {{"ChList", "3fff"}, {"ChSet", "0"}, {"NetType", "1"}, {"AdhocAutoBuild", "1"}, {"BgMode", "1"},
        {"MaxRate", "3"}, {"Bssid", "0"}, {"ReConNum", "255"}, {"RoamEn", "0"}}},
      {"Advance System Set",
       {{"Escape", "2b"}, {"EscapeTime", "300"}, {"EscapePeriod", "100"}, {"EscapeLength", "64"}, {"WebsEn", "0"},
        {"WebsPort", "0"}, {"Gpio1Mode", "2"}, {"ComMode", "0"}, {"Key", "000000"}}},
  };
}

std::string Render(const Entries& entries) {
  std::string text;
  for (const auto& [section, keys] : entries) {
    text += "[" + section + "]\n";
    for (const auto& [key, value] : keys) text += key + "=" + value + "\n";
  }
  return text;
}

struct RowCase {
  std::string section;
  std::string key;
  std::optional<std::string> value;  // nullopt: the key is missing
  std::string note;                  // empty: accepted
};

TEST(ParameterFileTest, EachImportRowAcceptsItsRulesAndRefusesWithItsNote) {
  const auto note = [](const char* name) { return std::string("The ") + name + " in profile error，import failed！"; };
  const RowCase cases[] = {
      {"Wireless Set", "Ssid", std::nullopt, "The SSID in profile error,import failed！"},
      {"Wireless Set", "Ssid", "a;b", ""},
      {"Wireless Set", "Ssid", std::string(32, 's'), ""},
      {"Wireless Set", "Ssid", std::string(33, 's'), "The SSID in profile error,import failed！"},
      {"Wireless Set", "Ssid", "say \"hi\"", "The SSID in profile error,import failed！"},
      {"Wireless Set", "Encry", "8", note("Encry")},
      {"Wireless Set", "Encry", "01", note("Encry")},
      {"Wireless Set", "Encry", " 1", ""},  // blanks around a value are the file's, not the value's
      {"Wireless Set", "KeyType", "2", note("KeyType")},
      {"Wireless Set", "KeyId", "0", note("KeyId")},
      {"Wireless Set", "KeyId", "5", note("KeyId")},
      {"Wireless Set", "Key", std::nullopt, ""},
      {"Wireless Set", "Key", std::string(65, 'k'), "The Key of Wireless Set in profile error，import failed！"},
      {"Net Set", "DhcpEn", "2", note("DhcpEn")},
      {"Net Set", "IpAddr", std::nullopt, note("IpAddr")},
      {"Net Set", "Mask", "", note("Mask")},
      {"Net Set", "NetGate", std::nullopt, note("NetGate")},
      {"Net Set", "Dns", std::nullopt, note("DNS")},
      {"Auto Mode", "ModeEn", "2", note("ModeEn")},
      {"Auto Mode", "Protocol", "x", note("Protocol")},
      {"Auto Mode", "CsMode", std::nullopt, note("CsMode")},
      {"Auto Mode", "Host", std::nullopt, note("Host")},
      {"Auto Mode", "Host", std::string(256, 'h'), note("Host")},
      {"Auto Mode", "Port", std::nullopt, note("Port")},
      {"Auto Mode", "Port", "8899.9", ""},
      {"Uart Set", "BaudRate", "115201", note("BaudRate")},
      {"Uart Set", "DataBit", "2", note("DataBit")},
      {"Uart Set", "StopBit", "2", ""},
      {"Uart Set", "StopBit", "1", ""},
      {"Uart Set", "StopBit", "3", note("StopBit")},
      {"Uart Set", "Parity", "3", note("Parity")},
      {"Advance Wireless Set", "ChList", "0x3fff", ""},
      {"Advance Wireless Set", "ChList", "4000", note("ChList")},
      {"Advance Wireless Set", "ChList", std::nullopt, note("ChList")},
      {"Advance Wireless Set", "ChSet", "14", ""},
      {"Advance Wireless Set", "ChSet", "15", note("ChSet")},
      {"Advance Wireless Set", "NetType", "2", note("NetType")},
      {"Advance Wireless Set", "AdhocAutoBuild", std::nullopt, note("AdhocAutoBuild")},
      {"Advance Wireless Set", "BgMode", "2", note("BgMode")},
      {"Advance Wireless Set", "MaxRate", "12", note("MaxRate")},
      {"Advance Wireless Set", "Bssid", "00112233445", note("Bssid")},
      {"Advance Wireless Set", "Bssid", "00112233445g", note("Bssid")},
      {"Advance Wireless Set", "Bssid", std::nullopt, note("Bssid")},
      {"Advance Wireless Set", "Bssid", "A0112233445F", ""},
      {"Advance Wireless Set", "ReConNum", "256", note("ReConNum")},
      {"Advance Wireless Set", "ReConNum", "-1", note("ReConNum")},
      {"Advance Wireless Set", "RoamEn", std::nullopt, note("RoamEn")},
      {"Advance System Set", "Escape", "123", note("Escape")},
      {"Advance System Set", "Escape", "f", ""},
      {"Advance System Set", "Escape", std::nullopt, note("Escape")},
      {"Advance System Set", "EscapeTime", "10001", note("EscapeTime")},
      {"Advance System Set", "EscapeTime", "100", "The EscapePeriod is less than EcapeTime，import failed！"},
      {"Advance System Set", "EscapePeriod", "99", note("EscapePeriod")},
      {"Advance System Set", "EscapeLength", "1025", note("EscapeLength")},
      {"Advance System Set", "EscapeLength", "1024ms", ""},
      {"Advance System Set", "WebsEn", "true", note("WebsEn")},
      {"Advance System Set", "Gpio1Mode", "3", note("Gpio1Mode")},
      {"Advance System Set", "ComMode", "2", note("ComMode")},
      {"Advance System Set", "Key", "12345", note("Key")},
      {"Advance System Set", "Key", "1234567", note("Key")},
  };
  TempFolder dir;
  const std::string path = dir.file("row.cfg");
  for (const RowCase& c : cases) {
    Entries entries = ValidEntries();
    for (auto& [section, keys] : entries)
      if (section == c.section) {
        if (c.value) keys[c.key] = *c.value;
        else keys.erase(c.key);
      }
    WriteBytes(path, Render(entries));
    ModuleParameters r;
    const std::optional<std::string> refused = ReadParameterFile(path, r);
    EXPECT_EQ(refused.value_or(""), c.note) << c.section << "/" << c.key << "=" << c.value.value_or("<missing>");
  }
}

TEST(ParameterFileTest, RowsThatDoNotApplyAreNotReadAndStayZero) {
  TempFolder dir;
  const std::string path = dir.file("modes.cfg");
  Entries entries = ValidEntries();
  entries[0].second = {{"Ssid", "Open"}, {"Encry", "0"}};                          // no key rows
  entries[1].second = {{"DhcpEn", "1"}, {"IpAddr", "bogus\"text"}};               // address rows skipped
  entries[2].second = {{"ModeEn", "1"}, {"Protocol", "9"}, {"Port", "7"}};          // auto rows skipped
  entries[4].second["NetType"] = "0";
  entries[4].second["AdhocAutoBuild"] = "7";
  entries[4].second["ChSet"] = "6";
  entries[5].second["WebsEn"] = "1";
  entries[5].second.erase("WebsPort");  // a missing web port reads 0
  WriteBytes(path, Render(entries));
  ModuleParameters r;
  ASSERT_EQ(ReadParameterFile(path, r), std::nullopt);
  EXPECT_EQ(r.Encry, 0);
  EXPECT_EQ(r.KeySetting.KeyType, 0);
  EXPECT_EQ(r.NetSetting.addressMode, 0);
  EXPECT_STREQ(r.NetSetting.IpAddr, "");
  EXPECT_EQ(r.ModeEn, 1);
  EXPECT_EQ(r.AutoModeSetting.Protocol, 0);
  EXPECT_EQ(r.AutoModeSetting.Port, 0);
  EXPECT_EQ(r.AdhocAutoBuild, 0u);
  EXPECT_EQ(r.ChannelSetting.enable, 1);
  EXPECT_EQ(r.ChannelSetting.channel, 6);
  EXPECT_EQ(r.WebSetting.WebsEn, 1);
  EXPECT_EQ(r.WebSetting.WebsPort, 0);

  // Server mode reads PassTime (at most 10000000) instead of Host; the port is a real
  // number cut toward zero, left for the page to check.
  entries[2].second = {{"ModeEn", "0"}, {"Protocol", "1"}, {"CsMode", "1"}, {"PassTime", "10000000"}, {"Port", "-3.9e0"}};
  WriteBytes(path, Render(entries));
  ASSERT_EQ(ReadParameterFile(path, r), std::nullopt);
  EXPECT_EQ(r.AutoModeSetting.PassTime, 10000000);
  EXPECT_EQ(r.AutoModeSetting.Port, -3);
  entries[2].second["PassTime"] = "10000001";
  WriteBytes(path, Render(entries));
  EXPECT_EQ(ReadParameterFile(path, r), "The Passtime in profile error，import failed！");
  entries[2].second["PassTime"] = "5";
  entries[2].second["Port"] = "1e99";
  WriteBytes(path, Render(entries));
  ASSERT_EQ(ReadParameterFile(path, r), std::nullopt);
  EXPECT_EQ(r.AutoModeSetting.Port, 2147483647);
}

TEST(ParameterFileTest, HostileFilesGiveANoteOrFollowTheRulesAndNeverCrash) {
  TempFolder dir;
  const std::string path = dir.file("hostile.cfg");
  const std::string valid = Render(ValidEntries());
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  std::string crlf;
  for (char c : valid) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::string duplicates = valid;
  duplicates.insert(duplicates.find("Encry=1"), "Ssid=First\n");
  const std::string ssidNote = "The SSID in profile error,import failed！";
  struct Case {
    const char* name;
    std::string content;
    std::string note;  // empty: accepted
  };
  const Case cases[] = {
      {"binary garbage", garbage, ssidNote},
      {"garbage after a valid file", valid + garbage, ""},
      {"a 10 MB line", std::string(10u << 20, 'x') + "\n" + valid, ""},
      {"a 10 MB SSID", "[Wireless Set]\nSsid=" + std::string(10u << 20, 's') + "\n", ssidNote},
      {"no sections", "Ssid=Shop\nEncry=0\n", ssidNote},
      {"missing later sections", "[Wireless Set]\nSsid=Shop\nEncry=0\n[Net Set]\nDhcpEn=1\n",
       "The ModeEn in profile error，import failed！"},
      {"a key without =", "[Wireless Set]\nSsid\n", ssidNote},
      {"CRLF line ends", crlf, ""},
      {"a byte order mark", "\xEF\xBB\xBF" + valid, ""},
      {"duplicate keys: the first counts", duplicates, ""},
      {"a NUL inside a value", std::string("[Wireless Set]\nSsid=\0Shop\n", 26) + valid.substr(valid.find("Encry")), ssidNote},
      {"an empty file", "", ssidNote},
  };
  for (const Case& c : cases) {
    WriteBytes(path, c.content);
    ModuleParameters r;
    EXPECT_EQ(ReadParameterFile(path, r).value_or(""), c.note) << c.name;
  }
  ModuleParameters r;
  WriteBytes(path, duplicates);
  ASSERT_EQ(ReadParameterFile(path, r), std::nullopt);
  EXPECT_STREQ(r.Ssid, "First");
  EXPECT_EQ(ReadParameterFile(dir.file("missing.cfg"), r), ssidNote);
  EXPECT_EQ(ReadParameterFile(dir.path(), r), "The profile can not be read，import failed！");  // a folder
}

}  // namespace
}  // namespace tarnwave

namespace tarnwave {
namespace {

// Export over an earlier file while the disk fills at each step of the write in turn:
// the earlier file stays whole until the new one is complete, and the failure is told.
TEST(ParameterFileTest, ExportThatFailsAtAnyStepKeepsTheEarlierFile) {
  TempFolder dir;
  const std::string path = dir.file("Config.cfg");
  const std::string earlier = "[Shop]\r\nName=North\r\n[Wireless Set]\r\nSsid=Old\r\n";
  ASSERT_TRUE(WriteParameterFile(testing::FullExample(), path));
  const std::string complete = ReadFileBytes(path);
  const int runs = kit::test_support::SweepFileFaults(
      [&] { WriteBytes(path, earlier); }, [&] { return bool(WriteParameterFile(testing::FullExample(), path)); },
      [&](bool fired, bool written) {
        EXPECT_EQ(written, !fired);
        const std::string now = ReadFileBytes(path);
        if (fired) {
          EXPECT_EQ(now, earlier);
        } else {
          EXPECT_NE(now.find("Ssid=Shop_1"), std::string::npos);
          EXPECT_NE(now.find("Name=North"), std::string::npos);
        }
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
        EXPECT_EQ(entries, 1u) << "a temporary file was left";
      });
  EXPECT_GE(runs, 4);
  EXPECT_FALSE(complete.empty());
}

}  // namespace
}  // namespace tarnwave
