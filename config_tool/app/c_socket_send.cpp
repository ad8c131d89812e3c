#include "config_tool/app/c_socket_send.h"

#include <algorithm>
#include <string>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/c_socket_relative.h"
#include "config_tool/app/console_text.h"
#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

namespace {
// The data box's line breaks travel as carriage return and line feed.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}
}  // namespace

CSocketSend::CSocketSend(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CSocketSend::Template() {
  DialogTemplate t;
  t.id = IDD_SOCKET_SEND;
  t.caption = "Socket Send";
  t.width = 220;
  t.height = 150;
  t.controls = {
      Label(kNoId, "Socket No.:", {10, 12, 50, 10}),
      EditBox(IDC_SOCK_SEND_NUMBER, {62, 10, 40, 13}, kNumberOnly, 3),
      CheckBox(IDC_SOCK_SEND_HEX, "Hexadecimal", {130, 12, 70, 10}),
      EditBox(IDC_SOCK_SEND_DATA, {10, 30, 200, 90}, kMultiLine | kScrollBars),
      Button(IDC_SOCK_SEND_OK, "Send", {50, 128, 50, 14}, kDefaultButton),
      Button(IDCANCEL, "Cancel", {120, 128, 50, 14}),
  };
  return t;
}

const MessageMap* CSocketSend::messageMap() const {
  static const MessageMap map =
      MessageMapBuilder<CSocketSend>().on(EventKind::Click, IDC_SOCK_SEND_OK, &CSocketSend::OnSend).build();
  return &map;
}

bool CSocketSend::OnInitDialog() {
  setText(IDC_SOCK_SEND_NUMBER, "1");
  setCheck(IDC_SOCK_SEND_HEX, false);
  m_count = 0;
  return true;
}

void CSocketSend::OnSend() {
  const int socket = ReadSocketNumber(text(IDC_SOCK_SEND_NUMBER));
  if (socket == 0) {
    CMess::Note(host(), this, "Please input the right socket number!");
    return;
  }
  m_socket = socket;
  m_data.fill(0);
  const std::string data = text(IDC_SOCK_SEND_DATA);
  if (isChecked(IDC_SOCK_SEND_HEX)) {
    // Bounded by the buffer: more digit pairs than it holds are not taken.
    m_count = ParseHexBytes(data, m_data);
  } else {
    const std::string bytes = WithCrLf(data);
    if (bytes.size() > kMaxTextBytes) {
      CMess::Note(host(), this, "Send data number need less than 500!!");
      return;
    }
    std::copy(bytes.begin(), bytes.end(), m_data.begin());
    m_count = bytes.size();
  }
  if (m_count == 0) {
    CMess::Note(host(), this, "Please input the send data number!!");
    return;
  }
  endDialog(1);
}

}  // namespace tarnwave
