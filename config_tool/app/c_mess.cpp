#include "config_tool/app/c_mess.h"

#include <utility>

#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

CMess::CMess(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CMess::Template() {
  DialogTemplate t;
  t.id = IDD_MESS;
  t.caption = "Note";
  t.width = 200;
  t.height = 64;
  t.controls = {
      Label(IDC_MESS_TEXT, "", {10, 12, 180, 24}, kCentered),
      Button(IDOK, "OK", {40, 42, 50, 14}),
      Button(IDCANCEL, "Cancel", {110, 42, 50, 14}),
      Button(IDC_MESS_OK_MIDDLE, "OK", {75, 42, 50, 14}, kDefaultButton),
  };
  return t;
}

int CMess::Note(Host& host, Dialog* owner, std::string text) {
  CMess mess(host, owner);
  mess.m_text = std::move(text);
  mess.m_mode = 0;
  return mess.runModal();
}

int CMess::Confirm(Host& host, Dialog* owner, std::string text) {
  CMess mess(host, owner);
  mess.m_text = std::move(text);
  mess.m_mode = 1;
  return mess.runModal();
}

bool CMess::OnInitDialog() {
  setText(IDC_MESS_TEXT, m_text);
  if (m_mode == 1) {
    show(IDC_MESS_OK_MIDDLE, false);
  } else {
    show(IDOK, false);
    show(IDCANCEL, false);
  }
  return true;
}

const MessageMap* CMess::messageMap() const {
  static const MessageMap map = MessageMapBuilder<CMess>().on(EventKind::Click, IDC_MESS_OK_MIDDLE, &CMess::OnMiddleOk).build();
  return &map;
}

void CMess::OnMiddleOk() { endDialog(IDOK); }

}  // namespace tarnwave
