// The function test console in a small main window, talking to a virtual module over a
// real pseudo-terminal; its sockets reach a real echo server on the loopback network.
#include "config_tool/app/c_set_page.h"

#include <gtest/gtest.h>

#include <cstring>

#include "config_tool/app/resource.h"
#include "config_tool/app/tests/pages_test_window.h"
#include "platform/sync/clock.h"
#include "platform/test_support/loopback_echo_server.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;
using testing::PagesTestWindow;

class CSetPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window.startModule();
    m_window.open(m_page, 1);
    ASSERT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, 1));
    m_host.onModal(IDD_SCAN, [](ModalScript&) {});  // the progress window closes itself
  }
  std::string click(int id) {
    const std::size_t before = m_page.OutputLog().size();
    EXPECT_TRUE(m_page.userClick(id));
    const std::string& log = m_page.OutputLog();
    return log.size() >= before ? log.substr(before) : log;
  }
  template <class F>
  void module(F f) {
    m_window.module->inspect(f);
  }

  HeadlessHost m_host;
  PagesTestWindow m_window{m_host};
  CSetPage m_page{m_host, m_window, kit::SystemClock::instance(), std::chrono::milliseconds(1)};
};

TEST_F(CSetPageTest, StartsEmptyWithTheCommandPrefix) {
  EXPECT_EQ(m_page.text(IDC_SET_COMMAND), "AT+");
  EXPECT_EQ(m_page.OutputLog(), "");
  EXPECT_EQ(m_page.SavedSocketSettings().Port, 0);
}

TEST_F(CSetPageTest, ScanWithThreeNetworksGivesTheExactLog) {
  EXPECT_EQ(click(IDC_SET_SCAN),
            "Scanning.\r\n"
            "Scan complete.\r\nNetMode Encry   BSSID    Channel Signal(%)  SSID   \r\n\r\n"
            "Infra    No  0A1B2C3D4E01   6   -42(75%)  KitNet\r\t\r\n"
            "Infra    Yes 0A1B2C3D4E02   1   -67(26%)  Shop-Guest\r\t\r\n"
            "Adhoc    Yes 0A1B2C3D4E03  11   -80( 1%)  Backoffice\r\t\r\n"
            "\r\n");
  const auto progress = m_host.modalsOf(IDD_SCAN);
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_FALSE(progress[0].closedByHost);  // it closed itself
  EXPECT_EQ(m_page.text(IDC_SET_OUTPUT), m_page.OutputLog());
}

TEST_F(CSetPageTest, HostileScanReplies) {
  // 200 networks and an SSID of 300 bytes: at most 50 lines, the SSID cut to its field.
  module([](kitsim::ModuleEngine& e) {
    e.networks().clear();
    for (int i = 0; i < 200; ++i) e.networks().push_back({"0a1b2c3d4e05", 0, 3, 0, "n" + std::to_string(i), 50});
    e.networks()[0].ssid = std::string(300, 'S');
  });
  const std::string log = click(IDC_SET_SCAN);
  std::size_t lines = 0;
  for (std::size_t at = log.find("\r\t\r\n"); at != std::string::npos; at = log.find("\r\t\r\n", at + 1)) ++lines;
  EXPECT_EQ(lines, 50u);
  EXPECT_NE(log.find(" " + std::string(32, 'S') + "\r\t"), std::string::npos);
  EXPECT_EQ(log.find(std::string(33, 'S')), std::string::npos);
  // No network at all.
  module([](kitsim::ModuleEngine& e) { e.networks().clear(); });
  EXPECT_EQ(click(IDC_SET_SCAN), "Scanning.\r\nScan results analysis failed.\r\n\r\n");
}

TEST_F(CSetPageTest, ConnectStatusDisconnect) {
  EXPECT_EQ(click(IDC_SET_CONNECT),
            "Connect/create network.\r\nConnect/create network complete.\r\n"
            "NetMode Encry   BSSID     Channel  SSID  \r\n"
            "Infra    No  0A1B2C3D4E01   6    KitNet\r\t\r\n\r\n");
  EXPECT_EQ(click(IDC_SET_STATUS),
            "Query the connect property.\r\nQuery result is:Already connected\r\n"
            "IP Addr   :192.168.6.23\r\nSubnetMask:255.255.255.0\r\nGateway   :192.168.6.1\r\nDnsServer :192.168.6.1\r\n\r\n");
  EXPECT_EQ(click(IDC_SET_DISCONNECT), "Disconnect network.\r\nDisconnect network complete.\r\n\r\n");
  EXPECT_EQ(click(IDC_SET_STATUS), "Query the connect property.\r\nQuery result is:Not connected\r\n\r\n");
  // A network that is not there: the module's error text.
  module([](kitsim::ModuleEngine& e) { e.networks().clear(); });
  EXPECT_EQ(click(IDC_SET_CONNECT),
            "Connect/create network.\r\nConnect/create network failed,connect to the network failure!\r\n\r\n");
}

TEST_F(CSetPageTest, HandTypedCommands) {
  // Echo on: only the text after the echo.
  module([](kitsim::ModuleEngine& e) { (void)e.handle("AT+E"); });
  ASSERT_TRUE(m_page.userType(IDC_SET_COMMAND, "AT+QMAC=?"));
  const std::string log = click(IDC_SET_COMMAND_SEND);
  EXPECT_EQ(log.substr(0, 11), "AT+QMAC=?\r\n");
  EXPECT_EQ(log.substr(11, 5), "+OK=0");
  EXPECT_EQ(log.find("AT+QMAC=?\r+OK"), std::string::npos);
}

TEST(CSetPageSilentTest, NoReplyAndAHugeCommand) {
  HeadlessHost host;
  PagesTestWindow window(host);
  kitsim::ModuleFaults silent;
  silent.silent = true;
  window.startModule(silent);
  kit::ManualClock clock;
  CSetPage page(host, window, clock);
  window.open(page, 1);
  ASSERT_TRUE(window.userSelectPage(PagesTestWindow::kArea, 1));
  ASSERT_TRUE(page.userType(IDC_SET_COMMAND, "AT+QVER=?"));
  ASSERT_TRUE(page.userClick(IDC_SET_COMMAND_SEND));
  EXPECT_EQ(page.OutputLog(), "AT+QVER=?\r\nCommand return failed.\r\n\r\n\r\n");
  EXPECT_EQ(clock.sleepCount(), 10);
  // 4 KiB typed: sent as it is, answered by nobody, logged whole.
  const std::string huge(4096, 'W');
  ASSERT_TRUE(page.userType(IDC_SET_COMMAND, huge));
  ASSERT_TRUE(page.userClick(IDC_SET_COMMAND_SEND));
  EXPECT_TRUE(page.OutputLog().ends_with(huge + "\r\nCommand return failed.\r\n\r\n\r\n"));
  // Reset waits and asks for a new search.
  ASSERT_TRUE(page.userClick(IDC_SET_RESET));
  EXPECT_TRUE(page.OutputLog().ends_with("Reset module.\r\n\r\n"));
  ASSERT_EQ(host.modalsOf(IDD_MESS).size(), 1u);
  EXPECT_EQ(host.modalsOf(IDD_MESS)[0].text(), "Please search module again！");
}

TEST_F(CSetPageTest, CancelledSocketDialogsLeaveTheLogUnchanged) {
  for (int dialog : {IDD_SOCKET_SET, IDD_SOCKET_RELATIVE, IDD_SOCKET_SEND})
    m_host.onModal(dialog, [](ModalScript& s) { s.dialog.userClick(IDCANCEL); });
  for (int button : {IDC_SET_SOCK_CREATE, IDC_SET_SOCK_CLOSE, IDC_SET_SOCK_QUERY, IDC_SET_SOCK_SEND})
    EXPECT_EQ(click(button), "") << button;
  EXPECT_TRUE(m_window.module->requests().empty());
}

TEST_F(CSetPageTest, ASocketRoundTripThroughTheDialogs) {
  kit::test_support::LoopbackEchoServer echo;
  ASSERT_TRUE(echo.ok());
  m_host.onModal(IDD_SOCKET_SET, [&](ModalScript& s) {
    s.dialog.userType(IDC_SOCK_SERVER_ADDR, "127.0.0.1");
    s.dialog.userType(IDC_SOCK_PORT, std::to_string(echo.port()));
    s.dialog.userClick(IDOK);
  });
  EXPECT_EQ(click(IDC_SET_SOCK_CREATE), "Create a socket.\r\nCreate succeed.The socket number is：1\r\n\r\n");
  EXPECT_STREQ(m_page.SavedSocketSettings().serverAddress, "127.0.0.1");

  // Binary data, sent as hexadecimal pairs.
  m_host.onModal(IDD_SOCKET_SEND, [](ModalScript& s) {
    s.dialog.userClick(IDC_SOCK_SEND_HEX);
    s.dialog.userType(IDC_SOCK_SEND_DATA, "41 42 0D 00 9C FF");
    s.dialog.userClick(IDC_SOCK_SEND_OK);
  });
  EXPECT_EQ(click(IDC_SET_SOCK_SEND), "Send data With a fix socket.\r\nSend succeed.\r\n\r\n\r\n");
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (echo.echoed() < 6 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));

  m_host.onModal(IDD_SOCKET_RELATIVE, [](ModalScript& s) { s.dialog.userClick(IDOK); });  // socket 1 as offered
  const std::string query = click(IDC_SET_SOCK_QUERY);
  EXPECT_EQ(query.substr(0, 29), "Get the socket information.\r\n");
  EXPECT_NE(query.find("    1    Connect  \t127.0.0.1\t" + std::to_string(echo.port()) + "\t   6\r\n\r\n"),
            std::string::npos)
      << query;

  std::string display;
  m_host.onModal(IDD_SOCKET_RECV, [&](ModalScript& s) {
    s.dialog.userType(IDC_SOCK_RECV_COUNT, "100");
    s.dialog.userClick(IDC_SOCK_RECV_HEX);
    s.dialog.userClick(IDC_SOCK_RECV_RECEIVE);
    display = s.dialog.text(IDC_SOCK_RECV_DISPLAY);
    s.dialog.userClick(IDC_SOCK_RECV_RECEIVE);  // nothing more waits
    s.dialog.userClick(IDC_SOCK_RECV_CANCEL);
  });
  EXPECT_EQ(click(IDC_SET_SOCK_RECEIVE), "");  // the dialog shows what it receives itself
  EXPECT_EQ(display, "41 42 0d 00 9c ff ");
  EXPECT_EQ(m_host.modalsOf(IDD_MESS).back().text(), "No data is received ！");

  EXPECT_EQ(click(IDC_SET_SOCK_CLOSE), "Close the socket.\r\nClose succeed.\r\n\r\n");
  EXPECT_EQ(click(IDC_SET_SOCK_CLOSE), "Close the socket.\r\nClose failed,invalid socket number!\r\n\r\n");
}

TEST_F(CSetPageTest, ClearAndTheContextMenu) {
  click(IDC_SET_DISCONNECT);
  m_host.onPopupMenu([](const std::vector<kit::ui::MenuItem>& items) {
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(items.at(0).text, "Clear");
    return 0;  // dismissed
  });
  ASSERT_TRUE(m_page.userContextMenu(IDC_SET_OUTPUT));
  EXPECT_NE(m_page.OutputLog(), "");
  m_host.onPopupMenu([](const std::vector<kit::ui::MenuItem>& items) { return items.at(0).command; });
  ASSERT_TRUE(m_page.userContextMenu(IDC_SET_OUTPUT));
  EXPECT_EQ(m_page.OutputLog(), "");
  EXPECT_EQ(m_page.text(IDC_SET_OUTPUT), "");
  click(IDC_SET_DISCONNECT);
  click(IDC_SET_CLEAR);
  EXPECT_EQ(m_page.OutputLog(), "");
}

TEST_F(CSetPageTest, OverTheDongleAloneThePageSendsTheUserBack) {
  ASSERT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, 0));
  m_window.serialOpen = false;
  m_window.dongleOpen = true;
  ASSERT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, 1));
  m_host.pumpPosted();
  EXPECT_EQ(m_window.activePage(PagesTestWindow::kArea), 0);
}

}  // namespace
}  // namespace tarnwave
