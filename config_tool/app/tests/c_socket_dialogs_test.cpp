// The socket dialogs on their own: what they show, what they accept, what they refuse.
#include <gtest/gtest.h>

#include <cstring>

#include "config_tool/app/c_socket_recv.h"
#include "config_tool/app/c_socket_relative.h"
#include "config_tool/app/c_socket_send.h"
#include "config_tool/app/c_socket_set.h"
#include "config_tool/app/resource.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;

std::vector<std::string> Notes(const HeadlessHost& host) {
  std::vector<std::string> texts;
  for (const auto& record : host.modalsOf(IDD_MESS)) texts.push_back(record.text());
  return texts;
}

TEST(CSocketSetTest, ZeroSettingsShowTcpClientAndAPortThatOkRefuses) {
  HeadlessHost host;
  host.onModal(IDD_SOCKET_SET, [](ModalScript& s) {
    auto& d = s.dialog;
    EXPECT_EQ(d.text(IDC_SOCK_PROTOCOL), "TCP");
    EXPECT_EQ(d.text(IDC_SOCK_CS_MODE), "Client");
    EXPECT_EQ(d.text(IDC_SOCK_SERVER_ADDR), "0.0.0.0");
    EXPECT_EQ(d.text(IDC_SOCK_PORT), "0");
    EXPECT_FALSE(d.isEnabled(IDC_SOCK_TIMEOUT));
    d.userClick(IDOK);
    EXPECT_FALSE(d.isEnded());
    d.userType(IDC_SOCK_SERVER_ADDR, "");
    d.userType(IDC_SOCK_PORT, "8080");
    d.userClick(IDOK);
    EXPECT_FALSE(d.isEnded());
    d.userType(IDC_SOCK_SERVER_ADDR, "127.0.0.1");
    d.userSelect(IDC_SOCK_PROTOCOL, 1);
    d.userClick(IDOK);
  });
  CSocketSet dialog(host);
  EXPECT_EQ(dialog.runModal(), IDOK);
  EXPECT_EQ(Notes(host), (std::vector<std::string>{"Please input the right socket(1-65535)！",
                                                  "Please input the server address！"}));
  EXPECT_EQ(dialog.m_spec.Protocol, 1);
  EXPECT_EQ(dialog.m_spec.CsMode, 0);
  EXPECT_STREQ(dialog.m_spec.serverAddress, "127.0.0.1");
  EXPECT_EQ(dialog.m_spec.Port, 8080);
}

TEST(CSocketSetTest, ServerModeShowsAndChecksTheTimeOut) {
  HeadlessHost host;
  host.onModal(IDD_SOCKET_SET, [](ModalScript& s) {
    auto& d = s.dialog;
    EXPECT_EQ(d.text(IDC_SOCK_CS_MODE), "Server");
    EXPECT_EQ(d.text(IDC_SOCK_TIMEOUT), "30");
    EXPECT_EQ(d.text(IDC_SOCK_SERVER_ADDR), "");
    EXPECT_FALSE(d.isEnabled(IDC_SOCK_SERVER_ADDR));
    for (const char* bad : {"", "10000001"}) {
      d.userType(IDC_SOCK_TIMEOUT, bad);
      d.userClick(IDOK);
      EXPECT_FALSE(d.isEnded());
    }
    d.userSelect(IDC_SOCK_CS_MODE, 0);  // client: the time-out empties, the address opens
    EXPECT_EQ(d.text(IDC_SOCK_TIMEOUT), "");
    EXPECT_TRUE(d.isEnabled(IDC_SOCK_SERVER_ADDR));
    d.userSelect(IDC_SOCK_CS_MODE, 1);
    d.userType(IDC_SOCK_TIMEOUT, "10000000");
    d.userClick(IDOK);
  });
  CSocketSet dialog(host);
  dialog.m_spec.CsMode = 1;
  dialog.m_spec.connectTimeout = 30;
  dialog.m_spec.Port = 8899;
  EXPECT_EQ(dialog.runModal(), IDOK);
  EXPECT_EQ(Notes(host), std::vector<std::string>(2, "Please input the right connect overtime time !"));
  EXPECT_EQ(dialog.m_spec.connectTimeout, 10000000);
  EXPECT_EQ(dialog.m_spec.Port, 8899);
}

TEST(CSocketRelativeTest, OneTo256) {
  HeadlessHost host;
  host.onModal(IDD_SOCKET_RELATIVE, [](ModalScript& s) {
    EXPECT_EQ(s.dialog.text(IDC_SOCK_REL_NUMBER), "1");
    for (const char* bad : {"0", "257", ""}) {
      s.dialog.userType(IDC_SOCK_REL_NUMBER, bad);
      s.dialog.userClick(IDOK);
      EXPECT_FALSE(s.dialog.isEnded()) << bad;
    }
    s.dialog.userType(IDC_SOCK_REL_NUMBER, "256");
    s.dialog.userClick(IDOK);
  });
  CSocketRelative dialog(host);
  EXPECT_EQ(dialog.runModal(), IDOK);
  EXPECT_EQ(dialog.m_socket, 256);
  EXPECT_EQ(Notes(host), std::vector<std::string>(3, "Please input the right socket number!"));
}

TEST(CSocketSendTest, HexadecimalAndTextInput) {
  struct Case {
    bool hex;
    std::string text;
    std::vector<std::uint8_t> bytes;  // empty: refused with the note
    std::string note;
  };
  const Case cases[] = {
      {true, "AB CD", {0xAB, 0xCD}, ""},
      {true, "A B", {}, "Please input the send data number!!"},
      {false, "", {}, "Please input the send data number!!"},
      {false, "hi\nyou", {'h', 'i', '\r', '\n', 'y', 'o', 'u'}, ""},
      {false, std::string(500, 'z'), std::vector<std::uint8_t>(500, 'z'), ""},
      {false, std::string(501, 'z'), {}, "Send data number need less than 500!!"},
  };
  for (const Case& c : cases) {
    HeadlessHost host;
    host.onModal(IDD_SOCKET_SEND, [&](ModalScript& s) {
      auto& d = s.dialog;
      EXPECT_EQ(d.text(IDC_SOCK_SEND_NUMBER), "1");
      d.userType(IDC_SOCK_SEND_NUMBER, "7");
      if (c.hex) d.userClick(IDC_SOCK_SEND_HEX);
      d.userType(IDC_SOCK_SEND_DATA, c.text);
      d.userClick(IDC_SOCK_SEND_OK);
      if (!d.isEnded()) d.userClick(IDCANCEL);
    });
    CSocketSend dialog(host);
    const int result = dialog.runModal();
    if (c.bytes.empty()) {
      EXPECT_EQ(result, 0) << c.text;
      EXPECT_EQ(Notes(host), std::vector<std::string>{c.note});
    } else {
      EXPECT_EQ(result, 1) << c.text;
      EXPECT_EQ(dialog.m_socket, 7);
      EXPECT_EQ(std::vector<std::uint8_t>(dialog.m_data.begin(), dialog.m_data.begin() + dialog.m_count), c.bytes);
    }
  }
}

TEST(CSocketSendTest, SocketNumberIsCheckedFirstAndCancelGivesZero) {
  HeadlessHost host;
  host.onModal(IDD_SOCKET_SEND, [](ModalScript& s) {
    s.dialog.userType(IDC_SOCK_SEND_NUMBER, "300");
    s.dialog.userClick(IDC_SOCK_SEND_OK);
    s.dialog.userClose();
  });
  CSocketSend dialog(host);
  EXPECT_EQ(dialog.runModal(), 0);
  EXPECT_EQ(Notes(host), std::vector<std::string>{"Please input the right socket number!"});
}

TEST(CSocketRecvTest, InputChecksBeforeAnyCommand) {
  HeadlessHost host;
  host.onModal(IDD_SOCKET_RECV, [](ModalScript& s) {
    auto& d = s.dialog;
    EXPECT_EQ(d.text(IDC_SOCK_RECV_NUMBER), "1");
    EXPECT_EQ(d.text(IDC_SOCK_RECV_COUNT), "0");
    d.userClick(IDC_SOCK_RECV_RECEIVE);  // count 0
    d.userType(IDC_SOCK_RECV_COUNT, "501");
    d.userClick(IDC_SOCK_RECV_RECEIVE);
    d.userType(IDC_SOCK_RECV_NUMBER, "0");
    d.userClick(IDC_SOCK_RECV_RECEIVE);
    d.userType(IDC_SOCK_RECV_NUMBER, "1");
    d.userType(IDC_SOCK_RECV_COUNT, "500");
    d.userClick(IDC_SOCK_RECV_RECEIVE);  // accepted: without a link the command fails
    d.userClick(IDC_SOCK_RECV_CANCEL);
  });
  CSocketRecv dialog(host, nullptr);
  EXPECT_EQ(dialog.runModal(), IDCANCEL);
  EXPECT_EQ(Notes(host), (std::vector<std::string>{"Please input the receive data number!",
                                                  "Receive data number need less than 500!",
                                                  "Please input the currect socket number!",
                                                  "Received failed,invalid handle!"}));
}

}  // namespace
}  // namespace tarnwave
