#include "config_tool/app/console_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tarnwave {
namespace {

ScanEntry Entry(int mode, int encryption, int channel, const char* ssid, int signal) {
  ScanEntry e;
  const std::uint8_t bssid[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x01};
  std::memcpy(e.bssid, bssid, 6);
  e.networkMode = static_cast<std::uint8_t>(mode);
  e.encryption = static_cast<std::uint8_t>(encryption);
  e.channel = static_cast<std::uint8_t>(channel);
  std::strncpy(e.ssid, ssid, sizeof e.ssid - 1);
  e.signal = static_cast<std::uint8_t>(signal);
  return e;
}

TEST(ConsoleTextTest, SignalPercent) {
  const std::pair<int, int> cases[] = {{0, 100}, {30, 100}, {31, 97}, {50, 60}, {79, 2}, {80, 1}, {255, 1}};
  for (auto [v, p] : cases) EXPECT_EQ(SignalPercent(v), p) << v;
}

TEST(ConsoleTextTest, NetworkLines) {
  struct Case {
    ScanEntry entry;
    NetworkLine kind;
    std::string line;
  };
  const Case cases[] = {
      {Entry(0, 0, 6, "KitNet", 42), NetworkLine::Scan, "Infra    No  0A1B2C3D4E01   6   -42(75%)  KitNet\r\t"},
      {Entry(1, 1, 11, "Back", 30), NetworkLine::Scan, "Adhoc    Yes 0A1B2C3D4E01  11   -30(100%)  Back\r\t"},
      {Entry(0, 2, 1, "Enc2", 80), NetworkLine::Scan, "Infra  NO   0A1B2C3D4E01   1   -80( 1%)  Enc2\r\t"},
      {Entry(2, 0, 1, "Mode2", 5), NetworkLine::Joined, "  No  0A1B2C3D4E01   1    Mode2\r\t"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatNetworkLine(c.entry, c.kind), c.line);
}

TEST(ConsoleTextTest, ScanResultTextWithThreeNetworksAndWithNone) {
  const std::vector<ScanEntry> three = {Entry(0, 0, 6, "A", 42), Entry(0, 1, 1, "B", 67), Entry(1, 1, 11, "C", 80)};
  EXPECT_EQ(ScanResultText(three),
            "Scan complete.\r\nNetMode Encry   BSSID    Channel Signal(%)  SSID   \r\n\r\n"
            "Infra    No  0A1B2C3D4E01   6   -42(75%)  A\r\t\r\n"
            "Infra    Yes 0A1B2C3D4E01   1   -67(26%)  B\r\t\r\n"
            "Adhoc    Yes 0A1B2C3D4E01  11   -80( 1%)  C\r\t\r\n"
            "\r\n");
  EXPECT_EQ(ScanResultText({}), "Scan results analysis failed.\r\n\r\n");
}

TEST(ConsoleTextTest, SocketStates) {
  SocketState listening{3, 1, "127.0.0.1", 8899, 0};
  SocketState other{4, 7, "", 0, 12};
  EXPECT_EQ(SocketStatesText({listening, other}),
            "Get socket succeed.\r\nSocketNo.Status Peer Addr\tPort  Data Length\r\n"
            "    3    Monitor  \t127.0.0.1\t8899\t   0\r\n\r\n"
            "    4    Not connected  \t\t0\t   12\r\n\r\n");
}

TEST(ConsoleTextTest, EchoRemoval) {
  EXPECT_EQ(RemoveEcho("AT+QMAC=?\r+OK=02\r\n\r\n", "AT+QMAC=?\r"), "+OK=02\r\n\r\n");
  EXPECT_EQ(RemoveEcho("AT+QMAC=?+OK", "AT+QMAC=?\r"), "AT+QMAC=?+OK");  // no carriage return: no echo
  EXPECT_EQ(RemoveEcho("+OK", "AT+\r"), "+OK");
}

TEST(ConsoleTextTest, ParseHexBytes) {
  struct Case {
    std::string text;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"01 02 0A", {0x01, 0x02, 0x0A}},
      {"AB CD", {0xAB, 0xCD}},
      {"abcd", {0xAB, 0xCD}},
      {"A B", {}},
      {"41 4", {0x41}},          // a lone last character ends the walk
      {"41 4G 42", {0x41}},      // a pair with no digit ends it
      {"41\r\n42", {0x41}},      // so does a line break
      {"   ", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> out(512);
    out.resize(ParseHexBytes(c.text, out));
    EXPECT_EQ(out, c.bytes) << c.text;
  }
  // More pairs than the buffer holds: the buffer's end is the end.
  std::string many;
  for (int i = 0; i < 600; ++i) many += "5a ";
  std::vector<std::uint8_t> out(512, 0);
  EXPECT_EQ(ParseHexBytes(many, out), 512u);
}

TEST(ConsoleTextTest, ReceiveDisplayAndItsConversions) {
  const std::uint8_t abcr[] = {0x41, 0x42, 0x0D};
  EXPECT_EQ(ReceiveDisplayText(abcr, true), "41 42 0d ");
  const std::uint8_t high[] = {0x9C};
  EXPECT_EQ(ReceiveDisplayText(high, true), "9c ");
  const std::uint8_t withZero[] = {'a', 0, 'b'};
  EXPECT_EQ(ReceiveDisplayText(withZero, false), "a.b");
  std::vector<std::uint8_t> twentyOne(21, 'x');
  EXPECT_EQ(ReceiveDisplayText(twentyOne, false), std::string(20, 'x') + "\r\n" + "x");

  // Switching on and off gives back text without line breaks of its own.
  const std::string text = "Hello module, here is a longer line of text";
  const std::string hex = DisplayToHex(text);
  EXPECT_EQ(hex.substr(0, 9), "48 65 6c ");
  EXPECT_EQ(hex.substr(60, 2), "\r\n");
  std::string back = DisplayFromHex(hex);
  std::erase(back, '\r');
  std::erase(back, '\n');
  EXPECT_EQ(back, text);
  EXPECT_EQ(DisplayFromHex("41 42 0d "), "AB\r");
}

}  // namespace
}  // namespace tarnwave
