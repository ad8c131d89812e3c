// The function test console through `tarnwave --drive`, as a real process: scan, join,
// link state, a socket round trip through the socket dialogs to a TCP echo server on
// 127.0.0.1 (the virtual module's sockets are real loopback sockets), keys on the
// dialogs and the hand-typed command. The output box is read back with `show`, so the
// log is checked byte for byte as the user sees it.

#include <string>

#include "config_tool/app/tests/e2e/drive_fixture.h"
#include "platform/test_support/loopback_echo_server.h"

namespace tarnwave_e2e {
namespace {

const std::string kScanLog =
    "Scanning.\\r\\nScan complete.\\r\\nNetMode Encry   BSSID    Channel Signal(%)  SSID   \\r\\n\\r\\n"
    "Infra    No  0A1B2C3D4E01   6   -42(75%)  KitNet\\r\\t\\r\\n"
    "Infra    Yes 0A1B2C3D4E02   1   -67(26%)  Shop-Guest\\r\\t\\r\\n"
    "Adhoc    Yes 0A1B2C3D4E03  11   -80( 1%)  Backoffice\\r\\t\\r\\n\\r\\n";

std::string ShowLog(const std::string& log) { return "show 1070 \"" + log + "\" enabled"; }

class SetPageDriveTest : public ::testing::Test, protected DriveFixture {
 protected:
  void SetUp() override { MakeFolder("spd"); }
  void TearDown() override { RemoveFolder(); }

  // The requests the console sent: those after the configuration page's reading.
  Requests ConsoleRequests() {
    const Requests all = modules[0]->requests();
    const auto last = std::find(all.rbegin(), all.rend(), "AT+PASS=?");
    return Requests(last.base(), all.end());
  }
};

TEST_F(SetPageDriveTest, ScanJoinStatusAndASocketRoundTripThroughTheDialogs) {
  StartOneModule(Transport::Serial);
  kit::test_support::LoopbackEchoServer echo;
  ASSERT_TRUE(echo.ok());
  const std::string port = std::to_string(echo.port());
  const ProgramRun run = Drive(
      "click 1043\npage 1\nshow 1076\n"
      "click 1010\nwait 3500\nshow 1070\n"  // the progress window closes itself
      "click 1005\nclick 1016\n"
      // A client socket to the echo server; the dialog opens with the page's zero settings.
      "click 1025\nshow 1053\nshow 1054\nshow 1071\nshow 1094\nshow 1005\n"
      "text 1071 \"127.0.0.1\"\ntext 1005 \"" + port + "\"\nclick 1\n"
      // Binary bytes in hexadecimal, then text whose line break goes as CR LF.
      "click 1013\nclick 1020\ntext 1004 \"00 01 FE FF 0D 0A 41\"\nclick 1000\n"
      "click 1013\ntext 1004 \"ab\\ncd\"\nclick 1000\n"
      "wait 300\n"
      // Everything back, shown in hexadecimal, then as characters.
      "click 1014\ntext 1074 \"13\"\nclick 1020\nclick 1087\nshow 1004\nclick 1020\nshow 1004\nclick 5\n"
      "click 1011\nclick 1\n"
      "click 1012\nclick 1\n"
      "show 1070\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string o = run.output;
  EXPECT_TRUE(Has(o, "show 1076 \"AT+\" enabled")) << o;
  EXPECT_TRUE(Has(o, "open 159 \"\"\nclose 159 2\n" + ShowLog(kScanLog))) << o;
  for (const char* line : {"show 1053 \"TCP\" enabled sel=0", "show 1054 \"Client\" enabled sel=0",
                           "show 1071 \"0.0.0.0\" enabled", "show 1094 \"\" disabled", "show 1005 \"0\" enabled"})
    EXPECT_TRUE(Has(o, line)) << line << " in\n" << o;
  EXPECT_TRUE(Has(o, "show 1004 \"00 01 fe ff 0d 0a 41 61 62 0d 0a 63 64 \" enabled")) << o;
  EXPECT_TRUE(Has(o, "show 1004 \"\\x00\\x01\\xFE\\xFF\\r\\nAab\\r\\ncd\" enabled")) << o;
  EXPECT_EQ(echo.echoed(), 13u);
  EXPECT_TRUE(Has(o, ShowLog(kScanLog +
                             "Connect/create network.\\r\\nConnect/create network complete.\\r\\n"
                             "NetMode Encry   BSSID     Channel  SSID  \\r\\n"
                             "Infra    No  0A1B2C3D4E01   6    KitNet\\r\\t\\r\\n\\r\\n"
                             "Query the connect property.\\r\\nQuery result is:Already connected\\r\\n"
                             "IP Addr   :192.168.6.23\\r\\nSubnetMask:255.255.255.0\\r\\nGateway   :192.168.6.1\\r\\n"
                             "DnsServer :192.168.6.1\\r\\n\\r\\n"
                             "Create a socket.\\r\\nCreate succeed.The socket number is：1\\r\\n\\r\\n"
                             "Send data With a fix socket.\\r\\nSend succeed.\\r\\n\\r\\n\\r\\n"
                             "Send data With a fix socket.\\r\\nSend succeed.\\r\\n\\r\\n\\r\\n"
                             "Get the socket information.\\r\\nGet socket succeed.\\r\\n"
                             "SocketNo.Status Peer Addr\\tPort  Data Length\\r\\n"
                             "    1    Connect  \\t127.0.0.1\\t" + port + "\\t   0\\r\\n\\r\\n"
                             "Close the socket.\\r\\nClose succeed.\\r\\n\\r\\n")))
      << o;
  EXPECT_EQ(ConsoleRequests(),
            (Requests{"AT+WSCAN", "AT+WJOIN", "AT+LKSTT=?", "AT+SKCT=0,0,127.0.0.1," + port, "AT+SKSND=1,7",
                      "AT+SKSND=1,6", "AT+SKRCV=1,13", "AT+SKSTT=1", "AT+SKCLS=1"}))
      << Joined(modules[0]->requests());
}

TEST_F(SetPageDriveTest, EscapeOrCancelOnEverySocketDialogLeavesTheLogAndTheModuleAlone) {
  StartOneModule(Transport::Serial);
  const ProgramRun run = Drive(
      "click 1043\npage 1\nclick 1005\nshow 1070\n"
      "click 1025\nkey escape\n"
      "click 1025\nclick 2\n"
      // A wrong number is noted and the dialog stays open for the next key.
      "click 1011\ntext 1005 \"0\"\nfocus 1005\nkey enter\nshow 1086\nclick 3\nkey escape\n"
      "click 1012\nkey escape\n"
      "click 1013\ntext 1004 \"kept\"\nkey escape\n"
      "click 1014\nkey escape\n"
      "show 1070\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string o = run.output;
  for (const char* lines :
       {"open 136 \"Socket Setting\"\nclose 136 2\nopen 136 \"Socket Setting\"\nclose 136 2",
        "open 137 \"Socket Relevance\"\nopen 170 \"Note\"\nshow 1086 \"Please input the right socket number!\" "
        "enabled\nclose 170 1\nclose 137 2",
        "open 137 \"Socket Relevance\"\nclose 137 2\nopen 138 \"Socket Send\"\nclose 138 0\nopen 139 \"Socket "
        "Receive\"\nclose 139 2"})
    EXPECT_TRUE(Has(o, lines)) << lines << " in\n" << o;
  const std::string joined =
      ShowLog("Connect/create network.\\r\\nConnect/create network complete.\\r\\n"
              "NetMode Encry   BSSID     Channel  SSID  \\r\\n"
              "Infra    No  0A1B2C3D4E01   6    KitNet\\r\\t\\r\\n\\r\\n");
  const std::size_t first = o.find(joined + "\n");
  ASSERT_NE(first, std::string::npos) << o;
  EXPECT_NE(o.find(joined + "\n", first + 1), std::string::npos) << "the log changed:\n" << o;
  EXPECT_EQ(ConsoleRequests(), Requests{"AT+WJOIN"}) << Joined(modules[0]->requests());
}

TEST_F(SetPageDriveTest, HandTypedCommandsLoseTheirEchoAndClearEmptiesTheLog) {
  StartOneModule(Transport::Serial);
  const std::string mac = Hex(kitsim::VirtualModuleAddress(0));
  const ProgramRun run = Drive(
      "click 1043\npage 1\n"
      "text 1076 \"AT+QMAC=?\"\nclick 1075\n"
      "text 1076 \"AT+E\"\nclick 1075\n"  // the module echoes from now on
      "text 1076 \"AT+QMAC=?\"\nclick 1075\n"
      "show 1070\nclick 1077\nshow 1070\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output, ShowLog("AT+QMAC=?\\r\\n+OK=" + mac + "\\r\\n\\r\\n\\r\\n"
                                      "AT+E\\r\\n+OK\\r\\n\\r\\n\\r\\n"
                                      "AT+QMAC=?\\r\\n+OK=" + mac + "\\r\\n\\r\\n\\r\\n") +
                                  "\n" + ShowLog("")))
      << run.output;
  bool echoing = false;
  modules[0]->inspect([&](kitsim::ModuleEngine& e) { echoing = e.echo(); });
  EXPECT_TRUE(echoing) << "the last reply came with its echo";
}

TEST_F(SetPageDriveTest, OverTheDongleTheConsoleIsLeftAtOnce) {
  StartOneModule(Transport::Dongle);
  const ProgramRun run = Drive("click 1043\npage 3\npage 1\nshow 59648\nclick 1025\n");
  EXPECT_EQ(run.exitCode, 3) << run.output;
  EXPECT_TRUE(Has(run.output, "open 133 \"FuncTest\"\nopen 140 \"SystemInfo\"\nshow 59648 \"\" enabled sel=3"))
      << run.output;
  EXPECT_TRUE(Has(run.output, "refused 5 \"no such control\"")) << "no socket dialog:\n" << run.output;
}

}  // namespace
}  // namespace tarnwave_e2e
