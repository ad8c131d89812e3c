#include "config_tool/app/c_wl_set.h"

#include <cstdio>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

namespace {
constexpr std::size_t kPasswordLength = 6;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::string FormatRadioAddress(const RadioAddress& a) {
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

std::optional<RadioAddress> ParseRadioAddress(std::string_view text) {
  if (text.size() != 12) return std::nullopt;
  RadioAddress address{};
  for (std::size_t i = 0; i < address.size(); ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    address[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return address;
}

CWlSet::CWlSet(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CWlSet::Template() {
  DialogTemplate t;
  t.id = IDD_WL_SET;
  t.caption = "Wireless Setting";
  t.width = 180;
  t.height = 100;
  t.controls = {
      Label(kNoId, "Password:", {12, 14, 50, 10}),
      EditBox(IDC_WL_PASSWORD, {70, 12, 96, 13}, 0, 6),
      CheckBox(IDC_WL_FIX_MAC, "Fix MAC Address", {12, 36, 120, 10}),
      EditBox(IDC_WL_MAC, {12, 52, 154, 13}, kDisabled, 12),
      Button(IDOK, "OK", {30, 76, 50, 14}, kDefaultButton),
      Button(IDCANCEL, "Cancel", {100, 76, 50, 14}),
  };
  return t;
}

bool CWlSet::OnInitDialog() {
  setText(IDC_WL_PASSWORD, m_password.substr(0, kPasswordLength));
  const std::string mac = FormatRadioAddress(m_searchAddress);
  const bool fixed = mac != "FFFFFFFFFFFF";
  setCheck(IDC_WL_FIX_MAC, fixed);
  setText(IDC_WL_MAC, fixed ? mac : std::string());
  enable(IDC_WL_MAC, fixed);
  return true;
}

const MessageMap* CWlSet::messageMap() const {
  static const MessageMap map = MessageMapBuilder<CWlSet>().on(EventKind::Click, IDC_WL_FIX_MAC, &CWlSet::OnFixMac).build();
  return &map;
}

void CWlSet::OnFixMac() { enable(IDC_WL_MAC, isChecked(IDC_WL_FIX_MAC)); }

void CWlSet::OnOK() {
  const std::string password = text(IDC_WL_PASSWORD);
  if (password.size() != kPasswordLength) {
    CMess::Note(host(), this, "The system password length must be six!");
    return;
  }
  m_password = password;
  if (isChecked(IDC_WL_FIX_MAC)) {
    const auto address = ParseRadioAddress(text(IDC_WL_MAC));
    if (!address) {
      CMess::Note(host(), this, "Please input the right MAC Address！");
      return;
    }
    m_searchAddress = *address;
  } else {
    m_searchAddress = kNoFixedAddress;
  }
  endDialog(IDOK);
}

}  // namespace tarnwave
