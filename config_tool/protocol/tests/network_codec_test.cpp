#include "config_tool/protocol/network_codec.h"

#include <gtest/gtest.h>

#include "config_tool/protocol/tests/test_reply.h"

namespace tarnwave {
namespace {

using testing::SerialReply;

std::string ScanLine(int channel, const std::string& ssid = "Net") {
  return "0a1b2c3d4e5f,0," + std::to_string(channel) + ",1,\"" + ssid + "\",45";
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text = "+OK=";
  for (const std::string& line : lines) text += line + "\r\n";
  return text + "\r\n";
}

TEST(ScanLine, FieldsInOrder) {
  ScanEntry e = ParseScanLine("\"001A2B3C4D5E\",1,11,0,\"Office, 2F\",67");
  EXPECT_EQ(e.bssid[0], 0x00);
  EXPECT_EQ(e.bssid[5], 0x5E);
  EXPECT_EQ(e.networkMode, 1);
  EXPECT_EQ(e.channel, 11);
  EXPECT_EQ(e.encryption, 0);
  // The SSID is the fifth value: a comma inside it cuts it, and the quote rule then
  // takes the first and last character off what is left.
  EXPECT_STREQ(e.ssid, "Offic");
}

TEST(ScanLine, LeftoverLineFeedInFrontOfTheBssidIsDropped) {
  for (std::string bssid : {"\n0a1b2c3d4e5f", "\n\"0a1b2c3d4e5f\""}) {
    ScanEntry e = ParseScanLine(bssid + ",0,3,1,\"N\",50");
    EXPECT_EQ(e.bssid[0], 0x0a) << bssid;
    EXPECT_EQ(e.bssid[5], 0x5f) << bssid;
    EXPECT_EQ(e.channel, 3);
    EXPECT_EQ(e.signal, 50);
  }
}

TEST(ScanLine, LineWithoutFiveCommasIsAllZero) {
  ScanEntry e = ParseScanLine("0a1b2c3d4e5f,0,3,1,\"N\"");
  EXPECT_EQ(e.channel, 0);
  EXPECT_EQ(e.bssid[0], 0);
  EXPECT_STREQ(e.ssid, "");
}

TEST(ScanReply, EntriesAreCountedAndLimited) {
  std::vector<std::string> lines;
  for (int i = 0; i < 3; ++i) lines.push_back(ScanLine(i + 1, "N" + std::to_string(i)));
  std::vector<ScanEntry> entries = DecodeScanReply(SerialReply(Lines(lines)), ReplyFraming::Serial);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_STREQ(entries[2].ssid, "N2");
  EXPECT_EQ(entries[2].bssid[0], 0x0a);  // the leftover line feed did not spoil later lines

  // 60 lines do not fit in one reply buffer; of what fits, at most 50 are taken.
  lines.clear();
  for (int i = 0; i < 60; ++i) lines.push_back(ScanLine(1 + i % 14, "n"));
  EXPECT_EQ(DecodeScanReply(SerialReply(Lines(lines)), ReplyFraming::Serial).size(), 50u);
}

TEST(ScanReply, FirstEntryOnChannelZeroMeansNoNetworks) {
  std::string reply = Lines({ScanLine(0), ScanLine(6), ScanLine(11)});
  EXPECT_TRUE(DecodeScanReply(SerialReply(reply), ReplyFraming::Serial).empty());
}

TEST(ScanReply, DongleLinesEndInOneLineFeed) {
  std::string text = "+OK=" + ScanLine(6) + "\n" + ScanLine(7) + "\n\n" + std::string(1, '\0');
  CommandRequest reply;
  ClassifyReply(text, static_cast<int>(text.size()) - 4, reply);
  std::vector<ScanEntry> entries = DecodeScanReply(reply, ReplyFraming::Dongle);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].channel, 7);
}

TEST(SocketStates, LinesAreSplitLikeScanLines) {
  std::vector<SocketState> states =
      DecodeSocketStates(SerialReply(Lines({"1,2,\"127.0.0.1\",8080,5", "2,1,\"0.0.0.0\",9000,0"})), ReplyFraming::Serial);
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].status, 2);
  EXPECT_STREQ(states[0].peerAddress, "127.0.0.1");
  EXPECT_EQ(states[0].dataLength, 5);
  EXPECT_EQ(states[1].socket, 2);
  EXPECT_EQ(states[1].port, 9000);
}

TEST(LinkState, FiveValuesWithQuotedTexts) {
  LinkState state;
  DecodeLinkState(SerialReply("+OK=1,\"10.0.0.5\",\"255.0.0.0\",\"10.0.0.1\",\"10.0.0.1\"\r\n\r\n"),
                  ReplyFraming::Serial, state);
  EXPECT_EQ(state.connected, 1);
  EXPECT_STREQ(state.IpAddr, "10.0.0.5");
  EXPECT_STREQ(state.Dns, "10.0.0.1");
  DecodeLinkState(SerialReply("+OK=0\r\n\r\n"), ReplyFraming::Serial, state);
  EXPECT_EQ(state.connected, 0);
  EXPECT_STREQ(state.IpAddr, "");
}

TEST(ModuleAddress, TwelveHexDigitsOrCleared) {
  std::uint8_t address[6] = {9, 9, 9, 9, 9, 9};
  EXPECT_TRUE(DecodeModuleAddress(SerialReply("+OK=A0B1C2D3E4F5\r\n\r\n"), ReplyFraming::Serial, address));
  EXPECT_EQ(address[0], 0xA0);
  EXPECT_EQ(address[5], 0xF5);
  EXPECT_FALSE(DecodeModuleAddress(SerialReply("+OK=" + std::string(40, 'A')), ReplyFraming::Serial, address));
  EXPECT_EQ(address[0], 0);
}

TEST(FirmwareKind, EarlierOfFAndBFromTheSecondCharacter) {
  struct Case {
    const char* version;
    int kind;
  };
  const Case cases[] = {
      {"H1.0,F2.1@x", 1}, {"H1.0,B0.9@x", 2}, {"H1,B1,F2", 2}, {"H1,F1,B2", 1},
      {"F", 0},           {"Fx", 0},          {"Bx", 0},       {"FB", 2},       {"", 0}, {"H1.0@x", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(FirmwareKind(c.version), c.kind) << c.version;
}

}  // namespace
}  // namespace tarnwave
