#include "config_tool/app/c_socket_relative.h"

#include <string>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/resource.h"
#include "platform/text/number_reader.h"

namespace tarnwave {

using namespace kit::ui;

int ReadSocketNumber(const std::string& text) {
  const long value = kit::ReadLeadingLong(text);
  return value >= 1 && value <= 256 ? static_cast<int>(value) : 0;
}

CSocketRelative::CSocketRelative(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CSocketRelative::Template() {
  DialogTemplate t;
  t.id = IDD_SOCKET_RELATIVE;
  t.caption = "Socket Relevance";
  t.width = 160;
  t.height = 70;
  t.controls = {
      Label(kNoId, "Socket No.:", {12, 14, 50, 10}),
      EditBox(IDC_SOCK_REL_NUMBER, {70, 12, 70, 13}, kNumberOnly, 3),
      Button(IDOK, "OK", {20, 44, 50, 14}, kDefaultButton),
      Button(IDCANCEL, "Cancel", {90, 44, 50, 14}),
  };
  return t;
}

bool CSocketRelative::OnInitDialog() {
  m_socket = 1;
  setText(IDC_SOCK_REL_NUMBER, "1");
  return true;
}

void CSocketRelative::OnOK() {
  const int socket = ReadSocketNumber(text(IDC_SOCK_REL_NUMBER));
  if (socket == 0) {
    CMess::Note(host(), this, "Please input the right socket number!");
    return;
  }
  m_socket = socket;
  endDialog(IDOK);
}

}  // namespace tarnwave
