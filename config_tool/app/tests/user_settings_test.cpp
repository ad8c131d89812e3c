#include "config_tool/app/user_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/test_support/file_contents.h"

namespace tarnwave {
namespace {

namespace fs = std::filesystem;

class UserSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("user-settings-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = (dir / "user.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

  fs::path dir;
  std::string path;
};

TEST_F(UserSettingsTest, AMissingFileGivesTheDefaultsAndCreatesNothing) {
  const UserSettings s = ReadUserSettings(path);
  EXPECT_EQ(s.firmwareDownload, 0);
  EXPECT_EQ(s.comEn, 1);
  EXPECT_EQ(s.serial.baudRate, 115200);
  EXPECT_EQ(s.serial.dataBitsIndex, 0);
  EXPECT_EQ(s.serial.stopBitsIndex, 0);
  EXPECT_EQ(s.serial.parityIndex, 0);
  EXPECT_EQ(s.channel, -1);
  EXPECT_EQ(s.password, DefaultWirelessPassword());
  EXPECT_EQ(s.password.size(), 6u);
  EXPECT_EQ(s.searchAddress, kNoFixedAddress);
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(UserSettingsTest, ValuesInRangeAreTakenAndOthersTakeTheirDefault) {
  struct Case {
    const char* lines;  // inside the sections below
    int comEn, baud, data, stop, parity, channel;
    const char* password;
    const char* mac;
  };
  const Case cases[] = {
      {"ComEn=3\nBaudRate=9600\nDataBit=1\nStopBit=1\nParity=2\n|Channel=11\nPass=abcdef\nMac=001a2B3C4D5E\n",
       3, 9600, 1, 1, 2, 11, "abcdef", "001A2B3C4D5E"},
      {"ComEn=0\nBaudRate=1200;old\n|Channel=0\nPass=abc;def\n", 0, 1200, 0, 0, 0, 0, "123456", "FFFFFFFFFFFF"},
      {"ComEn=-4\nBaudRate=14400\nDataBit=2\nStopBit=x\nParity=3\n|Channel=15\nPass=abcde\nMac=0\n",
       1, 115200, 0, 0, 0, -1, "123456", "FFFFFFFFFFFF"},
      {"ComEn=abc\n|Channel=-1\nPass=abcdefg\nMac=001A2B3C4D5G\n", 1, 115200, 0, 0, 0, -1, "123456", "FFFFFFFFFFFF"},
      {"|Channel=-7\n", 1, 115200, 0, 0, 0, -1, "123456", "FFFFFFFFFFFF"},
      {"|Channel=zz\n", 1, 115200, 0, 0, 0, -1, "123456", "FFFFFFFFFFFF"},
  };
  for (const Case& c : cases) {
    std::string lines = c.lines;
    const auto bar = lines.find('|');
    Write("[Manufacturer]\nFw Down=1\n[ComSet]\n" + lines.substr(0, bar) + "[WireLessSet]\n" + lines.substr(bar + 1));
    const UserSettings s = ReadUserSettings(path);
    SCOPED_TRACE(c.lines);
    EXPECT_EQ(s.firmwareDownload, 1);
    EXPECT_EQ(s.comEn, c.comEn);
    EXPECT_EQ(s.serial.baudRate, c.baud);
    EXPECT_EQ(s.serial.dataBitsIndex, c.data);
    EXPECT_EQ(s.serial.stopBitsIndex, c.stop);
    EXPECT_EQ(s.serial.parityIndex, c.parity);
    EXPECT_EQ(s.channel, c.channel);
    EXPECT_EQ(s.password, c.password);
    EXPECT_EQ(FormatRadioAddress(s.searchAddress), c.mac);
  }
}

TEST_F(UserSettingsTest, AValueLongerThanTheFirstBufferIsReadWhole) {
  Write("[WireLessSet]\nPass=" + std::string(700, 'x') + "\n");
  EXPECT_EQ(ReadUserSettings(path).password, DefaultWirelessPassword());  // 700 characters: not six
  Write("[ComSet]\nBaudRate=" + std::string(600, '0') + "9600\n");
  EXPECT_EQ(ReadUserSettings(path).serial.baudRate, 9600);
}

TEST_F(UserSettingsTest, WrittenValuesReadBackAndOtherSectionsStay) {
  Write("[Manufacturer]\r\nFw Down=1\r\n[Mine]\r\nKeep=this\r\n");
  UserSettings s;
  s.serial = {57600, 1, 1, 2};
  s.password = "zyxwvu";
  ASSERT_TRUE(WriteUserSettings(path, 4, 8, s));
  const std::string text = kit::test_support::ReadFileBytes(path);
  EXPECT_NE(text.find("[Mine]\r\nKeep=this\r\n"), std::string::npos);
  EXPECT_NE(text.find("Mac=0\r\n"), std::string::npos) << "no fixed address is written as 0";
  EXPECT_NE(text.find("Channel=7\r\n"), std::string::npos) << "box entry 8 is channel 7";
  const UserSettings back = ReadUserSettings(path);
  EXPECT_EQ(back.firmwareDownload, 1);
  EXPECT_EQ(back.comEn, 4);
  EXPECT_EQ(back.serial.baudRate, 57600);
  EXPECT_EQ(back.serial.dataBitsIndex, 1);
  EXPECT_EQ(back.serial.stopBitsIndex, 1);
  EXPECT_EQ(back.serial.parityIndex, 2);
  EXPECT_EQ(back.channel, 7);
  EXPECT_EQ(back.password, "zyxwvu");
  EXPECT_EQ(back.searchAddress, kNoFixedAddress);

  s.searchAddress = {0x00, 0x1E, 0xC0, 0x06, 0x00, 0x02};
  ASSERT_TRUE(WriteUserSettings(path, 0, 0, s));
  EXPECT_EQ(ReadUserSettings(path).searchAddress, s.searchAddress);
  EXPECT_EQ(ReadUserSettings(path).channel, -1);
}

}  // namespace
}  // namespace tarnwave
