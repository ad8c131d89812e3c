#include "config_tool/app/c_socket_recv.h"

#include <algorithm>
#include <string>
#include <vector>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/c_socket_relative.h"
#include "config_tool/app/console_text.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/text/number_reader.h"

namespace tarnwave {

using namespace kit::ui;

CSocketRecv::CSocketRecv(Host& host, ModuleLink* link, Dialog* owner) : Dialog(host, Template(), owner), m_link(link) {}

DialogTemplate CSocketRecv::Template() {
  DialogTemplate t;
  t.id = IDD_SOCKET_RECV;
  t.caption = "Socket Receive";
  t.width = 240;
  t.height = 170;
  t.controls = {
      Label(kNoId, "Socket No.:", {10, 12, 45, 10}),
      EditBox(IDC_SOCK_RECV_NUMBER, {58, 10, 30, 13}, kNumberOnly, 3),
      Label(kNoId, "Data Bytes:", {98, 12, 45, 10}),
      EditBox(IDC_SOCK_RECV_COUNT, {146, 10, 30, 13}, kNumberOnly, 3),
      CheckBox(IDC_SOCK_RECV_HEX, "Hexadecimal", {182, 12, 55, 10}),
      EditBox(IDC_SOCK_RECV_DISPLAY, {10, 30, 220, 108}, kMultiLine | kReadOnly | kScrollBars),
      Button(IDC_SOCK_RECV_RECEIVE, "Recive", {60, 148, 50, 14}, kDefaultButton),
      Button(IDC_SOCK_RECV_CANCEL, "Cancel", {130, 148, 50, 14}),
  };
  return t;
}

const MessageMap* CSocketRecv::messageMap() const {
  static const MessageMap map = MessageMapBuilder<CSocketRecv>()
                                    .on(EventKind::Click, IDC_SOCK_RECV_RECEIVE, &CSocketRecv::OnReceive)
                                    .on(EventKind::Click, IDC_SOCK_RECV_HEX, &CSocketRecv::OnHexadecimal)
                                    .on(EventKind::Click, IDC_SOCK_RECV_CANCEL, &CSocketRecv::OnCancelButton)
                                    .build();
  return &map;
}

bool CSocketRecv::OnInitDialog() {
  setText(IDC_SOCK_RECV_NUMBER, "1");
  setText(IDC_SOCK_RECV_COUNT, "0");
  setTextLimit(IDC_SOCK_RECV_NUMBER, 3);
  setTextLimit(IDC_SOCK_RECV_COUNT, 3);
  return true;
}

void CSocketRecv::OnReceive() {
  const int socket = ReadSocketNumber(text(IDC_SOCK_RECV_NUMBER));
  if (socket == 0) {
    CMess::Note(host(), this, "Please input the currect socket number!");
    return;
  }
  const long count = kit::ReadLeadingLong(text(IDC_SOCK_RECV_COUNT));
  setText(IDC_SOCK_RECV_DISPLAY, "");
  if (count <= 0) {
    CMess::Note(host(), this, "Please input the receive data number!");
    return;
  }
  if (count > kMaxCount) {
    CMess::Note(host(), this, "Receive data number need less than 500!");
    return;
  }
  std::vector<std::byte> data;
  const int result = m_link != nullptr ? m_link->receiveFromSocket(socket, static_cast<int>(count), data)
                                       : kResultInvalidHandle;
  if (result != kResultOk) {
    CMess::Note(host(), this, "Received failed," + std::string(ErrorText(result)));
    return;
  }
  if (data.empty()) {
    CMess::Note(host(), this, "No data is received ！");
    return;
  }
  const std::size_t shown = std::min<std::size_t>(data.size(), kMaxCount);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
  setText(IDC_SOCK_RECV_DISPLAY, ReceiveDisplayText({bytes, shown}, isChecked(IDC_SOCK_RECV_HEX)));
}

void CSocketRecv::OnHexadecimal() {
  const std::string display = text(IDC_SOCK_RECV_DISPLAY);
  setText(IDC_SOCK_RECV_DISPLAY, isChecked(IDC_SOCK_RECV_HEX) ? DisplayToHex(display) : DisplayFromHex(display));
}

}  // namespace tarnwave
