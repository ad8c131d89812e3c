#include "config_tool/app/c_socket_set.h"

#include <cstring>
#include <string>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/resource.h"
#include "platform/text/number_reader.h"

namespace tarnwave {

using namespace kit::ui;

namespace {
constexpr int kAddressLimit = 31;
constexpr int kTimeoutLimit = 8;
constexpr int kPortLimit = 5;
constexpr long kMaxTimeout = 10000000;
}  // namespace

CSocketSet::CSocketSet(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CSocketSet::Template() {
  DialogTemplate t;
  t.id = IDD_SOCKET_SET;
  t.caption = "Socket Setting";
  t.width = 200;
  t.height = 150;
  t.controls = {
      Label(kNoId, "Protocol Type:", {10, 12, 70, 10}),
      DropDownList(IDC_SOCK_PROTOCOL, {85, 10, 100, 60}, {"TCP", "UDP"}),
      Label(kNoId, "C/S Mode:", {10, 32, 70, 10}),
      DropDownList(IDC_SOCK_CS_MODE, {85, 30, 100, 60}, {"Client", "Server"}),
      Label(kNoId, "Server Addr:", {10, 52, 70, 10}),
      EditBox(IDC_SOCK_SERVER_ADDR, {85, 50, 100, 13}, 0, kAddressLimit),
      Label(kNoId, "Connect Overtime:", {10, 72, 70, 10}),
      EditBox(IDC_SOCK_TIMEOUT, {85, 70, 100, 13}, kNumberOnly, kTimeoutLimit),
      Label(kNoId, "s(0～10000000,0 means forever)", {85, 85, 110, 10}),
      Label(kNoId, "Port:", {10, 102, 70, 10}),
      EditBox(IDC_SOCK_PORT, {85, 100, 100, 13}, kNumberOnly, kPortLimit),
      Button(IDOK, "OK", {40, 126, 50, 14}, kDefaultButton),
      Button(IDCANCEL, "Cancel", {110, 126, 50, 14}),
  };
  return t;
}

const MessageMap* CSocketSet::messageMap() const {
  static const MessageMap map =
      MessageMapBuilder<CSocketSet>().on(EventKind::SelectionChange, IDC_SOCK_CS_MODE, &CSocketSet::OnModeChange).build();
  return &map;
}

void CSocketSet::ShowMode(bool server) {
  enable(IDC_SOCK_SERVER_ADDR, !server);
  enable(IDC_SOCK_TIMEOUT, server);
  setText(server ? IDC_SOCK_SERVER_ADDR : IDC_SOCK_TIMEOUT, "");
}

bool CSocketSet::OnInitDialog() {
  setTextLimit(IDC_SOCK_SERVER_ADDR, kAddressLimit);
  setTextLimit(IDC_SOCK_TIMEOUT, kTimeoutLimit);
  setSelection(IDC_SOCK_PROTOCOL, m_spec.Protocol == 1 ? 1 : 0);
  const bool server = m_spec.CsMode == 1;
  setSelection(IDC_SOCK_CS_MODE, server ? 1 : 0);
  ShowMode(server);
  if (server) {
    setText(IDC_SOCK_TIMEOUT, std::to_string(m_spec.connectTimeout));
  } else {
    const std::string address(m_spec.serverAddress, strnlen(m_spec.serverAddress, sizeof m_spec.serverAddress));
    setText(IDC_SOCK_SERVER_ADDR, address.empty() ? "0.0.0.0" : address.substr(0, kAddressLimit));
  }
  setText(IDC_SOCK_PORT, std::to_string(m_spec.Port));
  setTextLimit(IDC_SOCK_PORT, kPortLimit);
  m_spec = SocketSetup{};
  return true;
}

void CSocketSet::OnModeChange() { ShowMode(selection(IDC_SOCK_CS_MODE) == 1); }

void CSocketSet::OnOK() {
  m_spec.Protocol = selection(IDC_SOCK_PROTOCOL) == 1 ? 1 : 0;
  m_spec.CsMode = selection(IDC_SOCK_CS_MODE) == 1 ? 1 : 0;
  if (m_spec.CsMode == 1) {
    const std::string timeout = text(IDC_SOCK_TIMEOUT);
    const long value = kit::ReadLeadingLong(timeout);
    if (timeout.empty() || value > kMaxTimeout || value < 0) {
      CMess::Note(host(), this, "Please input the right connect overtime time !");
      return;
    }
    m_spec.connectTimeout = static_cast<std::int32_t>(value);
  } else {
    const std::string address = text(IDC_SOCK_SERVER_ADDR);
    if (address.empty()) {
      CMess::Note(host(), this, "Please input the server address！");
      return;
    }
    std::memset(m_spec.serverAddress, 0, sizeof m_spec.serverAddress);
    std::memcpy(m_spec.serverAddress, address.data(), std::min(address.size(), sizeof m_spec.serverAddress - 1));
  }
  const long port = kit::ReadLeadingLong(text(IDC_SOCK_PORT));
  if (port < 1 || port > 65535) {
    CMess::Note(host(), this, "Please input the right socket(1-65535)！");
    return;
  }
  m_spec.Port = static_cast<std::int32_t>(port);
  endDialog(IDOK);
}

}  // namespace tarnwave
