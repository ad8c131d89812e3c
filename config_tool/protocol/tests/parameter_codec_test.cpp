#include "config_tool/protocol/parameter_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/tests/test_reply.h"

namespace tarnwave {
namespace {

using testing::SerialReply;
using namespace command;

// A record with a value in every field, so each command's text shows its own part.
ModuleParameters FilledRecord() {
  ModuleParameters r;
  std::strcpy(r.Ssid, "MyNet");
  r.Encry = 3;
  r.KeySetting.KeyType = 1;
  r.KeySetting.KeyId = 2;
  std::strcpy(r.KeySetting.Key, "secret");
  r.NetSetting.addressMode = 1;
  std::strcpy(r.NetSetting.IpAddr, "192.168.1.7");
  std::strcpy(r.NetSetting.Mask, "255.255.255.0");
  std::strcpy(r.NetSetting.NetGate, "192.168.1.1");
  std::strcpy(r.NetSetting.Dns, "8.8.8.8");
  r.ModeEn = 0;
  r.AutoModeSetting.Protocol = 0;
  r.AutoModeSetting.CsMode = 0;
  std::strcpy(r.AutoModeSetting.Host, "10.0.0.2");
  r.AutoModeSetting.Port = 8899;
  r.BssidSetting = {1, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, {}};
  r.ChannelSetting = {1, 6};
  r.ChList = 0x3FFF;
  r.NetType = 1;
  r.AdhocAutoBuild = 1;
  r.RateSetting = {1, 11};
  r.UartSetting = {9600, 1, 0, 2};
  r.EscapePeriod = 100;
  r.EscapeLength = 512;
  r.Escape = 0x2B;
  r.EscapeTime = 300;
  r.WebSetting = {1, 8080};
  r.Gpio1Mode = 2;
  r.ComMode = 1;
  r.RoamEn = 1;
  r.ReConNum = 5;
  std::strcpy(r.Password, "123456");
  return r;
}

TEST(ParameterSetText, EveryCommandInSetAndSetAndSaveForm) {
  struct Case {
    int id;
    const char* text;
  };
  const Case cases[] = {
      {SSID, "\"MyNet\""},
      {ENCRY, "3"},
      {KEY, "1,2,\"secret\""},
      {NIP, "1,\"192.168.1.7\",\"255.255.255.0\",\"192.168.1.1\",\"8.8.8.8\""},
      {ATM, "0"},
      {ATRM, "0,0,\"10.0.0.2\",8899"},
      {BSSID, "1,001a2b3c4d5e"},
      {CHL, "1,6"},
      {CHLL, "3fff"},
      {WPRT, "1"},
      {WATC, "1"},
      {WBGR, "1,11"},
      {UART, "9600,1,0,2"},
      {ATPT, "100"},
      {ATLT, "512"},
      {ESPC, "2B"},
      {ESPT, "300"},
      {WEBS, "1,8080"},
      {IOM, "2"},
      {CMDM, "1"},
      {WARM, "1"},
      {WARC, "5"},
      {PASS, "\"123456\""},
  };
  ASSERT_EQ(std::size(cases), std::size(kParameterCommands));
  for (const Case& c : cases) {
    SCOPED_TRACE(*CommandMnemonic(c.id));
    ModuleParameters record = FilledRecord();
    EXPECT_EQ(ParameterArgument(c.id, CommandForm::Set, record), c.text);
    EXPECT_EQ(ParameterArgument(c.id, CommandForm::SetAndSave, record), "!" + std::string(c.text));
    EXPECT_EQ(ParameterArgument(c.id, CommandForm::Query, record), "?");
    EXPECT_EQ(ParameterTimeout(c.id), c.id == SSID ? 5000u : 3000u);
  }
}

TEST(ParameterSetText, ModeDependentForms) {
  struct Case {
    const char* what;
    int id;
    std::function<void(ModuleParameters&)> change;
    const char* text;
  };
  const Case cases[] = {
      {"DHCP", NIP, [](ModuleParameters& r) { r.NetSetting.addressMode = 0; }, "!0"},
      {"server", ATRM, [](ModuleParameters& r) { r.AutoModeSetting.CsMode = 1; r.AutoModeSetting.PassTime = 300; r.AutoModeSetting.Protocol = 1; },
       "!1,1,300,8899"},
      {"automatic BSSID", BSSID, [](ModuleParameters& r) { r.BssidSetting.enable = 0; }, "!0"},
      {"automatic channel", CHL, [](ModuleParameters& r) { r.ChannelSetting.enable = 0; }, "!0"},
      {"web server off", WEBS, [](ModuleParameters& r) { r.WebSetting.WebsEn = 0; }, "!0"},
      {"short mask", CHLL, [](ModuleParameters& r) { r.ChList = 0x1; }, "!0001"},
      {"escape uses one byte", ESPC, [](ModuleParameters& r) { r.Escape = 0x1FF; }, "!FF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModuleParameters record = FilledRecord();
    c.change(record);
    EXPECT_EQ(ParameterArgument(c.id, CommandForm::SetAndSave, record), c.text);
  }
}

TEST(ParameterSetText, WebServerWithoutPortGetsPort80InTheRecordToo) {
  ModuleParameters record;
  record.WebSetting = {1, 0};
  EXPECT_EQ(ParameterArgument(WEBS, CommandForm::Set, record), "1,80");
  EXPECT_EQ(record.WebSetting.WebsPort, 80);
}

TEST(ParameterSetText, QuotedTextsThatWouldBreakOutAreNeverSent) {
  struct Case {
    int id;
    std::function<void(ModuleParameters&)> spoil;
  };
  const Case cases[] = {
      {SSID, [](ModuleParameters& r) { std::strcpy(r.Ssid, "x\"\rAT+RSTF"); }},
      {KEY, [](ModuleParameters& r) { std::strcpy(r.KeySetting.Key, "k\"ey"); }},
      {NIP, [](ModuleParameters& r) { r.NetSetting.addressMode = 1; std::strcpy(r.NetSetting.Dns, "1.1.1.1\n"); }},
      {ATRM, [](ModuleParameters& r) { r.AutoModeSetting.CsMode = 0; std::strcpy(r.AutoModeSetting.Host, "h\r"); }},
      {PASS, [](ModuleParameters& r) { std::strcpy(r.Password, "12\"456"); }},
  };
  for (const Case& c : cases) {
    ModuleParameters record = FilledRecord();
    ASSERT_TRUE(ParameterSetText(c.id, record)) << *CommandMnemonic(c.id);
    c.spoil(record);
    EXPECT_FALSE(ParameterArgument(c.id, CommandForm::SetAndSave, record)) << *CommandMnemonic(c.id);
  }
  // In server mode the host area holds the pass time: a 13 there is no line break.
  ModuleParameters server = FilledRecord();
  server.AutoModeSetting.CsMode = 1;
  server.AutoModeSetting.PassTime = 13;
  EXPECT_EQ(ParameterSetText(ATRM, server), "0,1,13,8899");
}

TEST(ParameterSetText, NonParameterCommandsHaveNone) {
  ModuleParameters record;
  for (int id : {QMAC, QVER, IOC, 0, 999}) EXPECT_FALSE(ParameterArgument(id, CommandForm::Set, record)) << id;
}

// Each query reply decoded and re-encoded in set form must give the payload back.
TEST(ParameterDecode, EveryQueryReadsWhatTheSetFormWrites) {
  const ModuleParameters filled = FilledRecord();
  for (int id : kParameterCommands) {
    SCOPED_TRACE(*CommandMnemonic(id));
    ModuleParameters source = filled;
    std::string payload = *ParameterSetText(id, source);
    CommandRequest reply = SerialReply("+OK=" + payload + "\r\n\r\n");
    ModuleParameters decoded;  // whatever the caller had
    decoded.Encry = 77;
    decoded.ChannelSetting = {1, 13};
    decoded.UartSetting = {1, 2, 3, 4};
    DecodeParameterReply(id, reply, ReplyFraming::Serial, decoded);
    EXPECT_EQ(ParameterSetText(id, decoded), payload);
  }
}

TEST(ParameterDecode, LoneZeroAndShortRepliesLeaveTheClearedRecord) {
  ModuleParameters r = FilledRecord();
  DecodeParameterReply(NIP, SerialReply("+OK=0\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.NetSetting.addressMode, 0);
  EXPECT_STREQ(r.NetSetting.IpAddr, "");
  EXPECT_STREQ(r.NetSetting.Dns, "");

  r = FilledRecord();
  DecodeParameterReply(CHL, SerialReply("+OK=0,6\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.ChannelSetting.enable, 0);
  EXPECT_EQ(r.ChannelSetting.channel, 0);

  r = FilledRecord();
  DecodeParameterReply(BSSID, SerialReply("+OK=0\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.BssidSetting.enable, 0);
  EXPECT_EQ(r.BssidSetting.address[1], 0);

  r = FilledRecord();
  DecodeParameterReply(WEBS, SerialReply("+OK=0\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.WebSetting.WebsEn, 0);
  EXPECT_EQ(r.WebSetting.WebsPort, 0);

  // A reply cut short after two of five values: the rest stays cleared.
  r = FilledRecord();
  DecodeParameterReply(NIP, SerialReply("+OK=1,\"10.1.1.1\",\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.NetSetting.addressMode, 1);
  EXPECT_STREQ(r.NetSetting.IpAddr, "10.1.1.1");
  EXPECT_STREQ(r.NetSetting.Mask, "");
  EXPECT_STREQ(r.NetSetting.Dns, "");

  r = FilledRecord();
  DecodeParameterReply(UART, SerialReply("+OK=115200,0\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.UartSetting.BaudRate, 115200);
  EXPECT_EQ(r.UartSetting.DataBit, 0);
  EXPECT_EQ(r.UartSetting.Parity, 0);
}

TEST(ParameterDecode, ValueThatGivesWrongLeavesTheFieldCleared) {
  // The terminator is missing: the last value cannot be cut.
  ModuleParameters r = FilledRecord();
  DecodeParameterReply(ENCRY, SerialReply("+OK=4\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.Encry, 0);
  DecodeParameterReply(SSID, SerialReply("+OK=\"Net\"\r\n"), ReplyFraming::Serial, r);
  EXPECT_STREQ(r.Ssid, "");
  r = FilledRecord();
  DecodeParameterReply(KEY, SerialReply("+OK=1,3,\"k"), ReplyFraming::Serial, r);
  EXPECT_EQ(r.KeySetting.KeyType, 1);
  EXPECT_EQ(r.KeySetting.KeyId, 3);
  EXPECT_STREQ(r.KeySetting.Key, "");
}

TEST(ParameterDecode, UnterminatedReplyClearsEveryCommandsPart) {
  // A reply that fills the whole reply buffer without ever ending.
  CommandRequest reply = SerialReply("+OK=" + std::string(3000, '7'));
  for (int id : kParameterCommands) {
    SCOPED_TRACE(*CommandMnemonic(id));
    ModuleParameters decoded = FilledRecord();
    DecodeParameterReply(id, reply, ReplyFraming::Serial, decoded);
    ModuleParameters cleared;
    EXPECT_EQ(ParameterSetText(id, decoded), ParameterSetText(id, cleared));
  }
}

TEST(ParameterDecode, TextsAreCutToTheirFields) {
  ModuleParameters r;
  DecodeParameterReply(SSID, SerialReply("+OK=\"" + std::string(40, 's') + "\"\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_EQ(std::string(r.Ssid), std::string(32, 's'));
  DecodeParameterReply(PASS, SerialReply("+OK=\"12345678\"\r\n\r\n"), ReplyFraming::Serial, r);
  EXPECT_STREQ(r.Password, "123456");
  DecodeParameterReply(ATRM, SerialReply("+OK=0,0,\"" + std::string(300, 'h') + "\",80\r\n\r\n"),
                       ReplyFraming::Serial, r);
  EXPECT_EQ(std::strlen(r.AutoModeSetting.Host), 255u);
  EXPECT_EQ(r.AutoModeSetting.Port, 80);
}

TEST(ParameterDecode, DongleFramingUsesItsOwnTerminator) {
  std::string text("+OK=1,6\n\n\0", 10);
  CommandRequest reply;
  ClassifyReply(text, static_cast<int>(text.size()) - 4, reply);
  ModuleParameters r;
  DecodeParameterReply(CHL, reply, ReplyFraming::Dongle, r);
  EXPECT_EQ(r.ChannelSetting.enable, 1);
  EXPECT_EQ(r.ChannelSetting.channel, 6);
}

}  // namespace
}  // namespace tarnwave
