// The function test console over the radio dongle: the real driver hosted in this
// process on a virtual dongle, a virtual module on channel 6 whose sockets reach a real
// echo server on the loopback network.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "config_tool/app/c_set_page.h"
#include "config_tool/app/resource.h"
#include "config_tool/app/tests/pages_test_window.h"
#include "config_tool/links/dongle_link_values.h"
#include "config_tool/links/dongle_transport.h"
#include "config_tool/protocol/result_codes.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/in_process_device.h"
#include "platform/test_support/loopback_echo_server.h"
#include "sim/radio/engine_answerer.h"
#include "sim/radio/virtual_dongle.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;
using testing::PagesTestWindow;

const kirva::RadioAddress kModule{0x00, 0x1E, 0xC0, 0x06, 0x00, 0x02};

// Disabled until the socket receive over the dongle is mended: the virtual module's radio
// framing turns the data's "\r\n" into "\n" and drops trailing line feeds and zero bytes,
// and the link takes the data from four characters after the count, where the radio reply
// has two ("\n\n"), so the receive comes up short (241) or shifted. Sending works.
TEST(CSetPageOverTheDongle, ASocketRoundTrip) {
  kirva::DriverHost driver;
  kirva::InProcessRegistration registration{driver};
  ASSERT_EQ(driver.load(), wdm::Status::Success);
  auto medium = std::make_shared<sim::radio::RadioMedium>();
  medium->add(std::make_shared<sim::radio::RadioModule>(
      kModule, 6, std::make_shared<sim::radio::EngineAnswerer>(kModule, "abcdef")));
  ASSERT_EQ(driver.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, medium)),
            wdm::Status::Success);
  SetWirelessPassword({'a', 'b', 'c', 'd', 'e', 'f'});
  SetTargetModule(kModule);

  HeadlessHost host;
  PagesTestWindow window(host);
  ASSERT_EQ(window.link.startWorker(), kResultOk);
  int result = -1;
  auto transport = DongleTransport::open(window.link.request(), window.link.worker(), nullptr, result);
  ASSERT_EQ(result, kResultOk);
  DongleTransport* dongle = transport.get();
  ASSERT_EQ(window.link.openTransport(std::move(transport)), kResultOk);
  ASSERT_TRUE(dongle->switchChannel(6));
  window.serialOpen = true;  // the console stays
  window.dongleOpen = true;

  CSetPage page(host, window);
  window.open(page, 1);
  ASSERT_TRUE(window.userSelectPage(PagesTestWindow::kArea, 1));

  kit::test_support::LoopbackEchoServer echo;
  ASSERT_TRUE(echo.ok());
  host.onModal(IDD_SOCKET_SET, [&](ModalScript& s) {
    s.dialog.userType(IDC_SOCK_SERVER_ADDR, "127.0.0.1");
    s.dialog.userType(IDC_SOCK_PORT, std::to_string(echo.port()));
    s.dialog.userClick(IDOK);
  });
  ASSERT_TRUE(page.userClick(IDC_SET_SOCK_CREATE));
  EXPECT_TRUE(page.OutputLog().ends_with("Create succeed.The socket number is：1\r\n\r\n")) << page.OutputLog();

  host.onModal(IDD_SOCKET_SEND, [](ModalScript& s) {
    s.dialog.userClick(IDC_SOCK_SEND_HEX);
    s.dialog.userType(IDC_SOCK_SEND_DATA, "00 01 FE FF 0D 0A 41");
    s.dialog.userClick(IDC_SOCK_SEND_OK);
  });
  ASSERT_TRUE(page.userClick(IDC_SET_SOCK_SEND));
  EXPECT_TRUE(page.OutputLog().ends_with("Send succeed.\r\n\r\n\r\n")) << page.OutputLog();
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (echo.echoed() < 7 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));

  std::string display;
  host.onModal(IDD_SOCKET_RECV, [&](ModalScript& s) {
    s.dialog.userType(IDC_SOCK_RECV_COUNT, "7");
    s.dialog.userClick(IDC_SOCK_RECV_HEX);
    s.dialog.userClick(IDC_SOCK_RECV_RECEIVE);
    display = s.dialog.text(IDC_SOCK_RECV_DISPLAY);
    s.dialog.userClick(IDC_SOCK_RECV_CANCEL);
  });
  ASSERT_TRUE(page.userClick(IDC_SET_SOCK_RECEIVE));
  EXPECT_EQ(display, "00 01 fe ff 0d 0a 41 ");
  for (const auto& note : host.modalsOf(IDD_MESS)) ADD_FAILURE() << note.text();
  window.link.close();
  window.link.stopWorker();
}

}  // namespace
}  // namespace tarnwave
