#include "config_tool/app/c_set_page.h"

#include <array>
#include <cstdio>
#include <vector>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/c_scan.h"
#include "config_tool/app/c_socket_recv.h"
#include "config_tool/app/c_socket_relative.h"
#include "config_tool/app/c_socket_send.h"
#include "config_tool/app/c_socket_set.h"
#include "config_tool/app/console_text.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave {

using namespace kit::ui;
using namespace std::chrono_literals;

namespace {
constexpr int kCommandReads = 10;
constexpr auto kCommandReadPause = 500ms;
constexpr auto kResetPause = 500ms;
constexpr std::size_t kReadBuffer = 512;
}  // namespace

CSetPage::CSetPage(Host& host, MainWindowServices& services, kit::Clock& clock, std::chrono::milliseconds scanStep)
    : PropertyPage(host, Template()), m_services(services), m_clock(clock), m_scanStep(scanStep) {}

DialogTemplate CSetPage::Template() {
  DialogTemplate t;
  t.id = IDD_SET_PAGE;
  t.caption = "FuncTest";
  t.width = 300;
  t.height = 214;
  t.flags = kChildWindow;
  t.controls = {
      GroupBox(kNoId, "Wireless Network Command", {7, 4, 286, 30}),
      Button(IDC_SET_CONNECT, "Connect", {14, 15, 50, 14}),
      Button(IDC_SET_DISCONNECT, "Disconnect", {69, 15, 50, 14}),
      Button(IDC_SET_SCAN, "Scan", {124, 15, 50, 14}),
      Button(IDC_SET_STATUS, "Status", {179, 15, 50, 14}),
      Button(IDC_SET_RESET, "Reset", {234, 15, 50, 14}),
      GroupBox(kNoId, "Socket order", {7, 38, 286, 30}),
      Button(IDC_SET_SOCK_CREATE, "Create", {14, 49, 50, 14}),
      Button(IDC_SET_SOCK_CLOSE, "Close", {69, 49, 50, 14}),
      Button(IDC_SET_SOCK_QUERY, "Query", {124, 49, 50, 14}),
      Button(IDC_SET_SOCK_SEND, "Send", {179, 49, 50, 14}),
      Button(IDC_SET_SOCK_RECEIVE, "Receive", {234, 49, 50, 14}),
      GroupBox(kNoId, "Input/Output Box", {7, 72, 286, 138}),
      EditBox(IDC_SET_COMMAND, {14, 84, 160, 13}),
      Button(IDC_SET_COMMAND_SEND, "Send", {179, 83, 50, 14}),
      Button(IDC_SET_CLEAR, "Clear", {234, 83, 50, 14}),
      EditBox(IDC_SET_OUTPUT, {14, 102, 272, 102}, kMultiLine | kReadOnly | kScrollBars),
  };
  return t;
}

const MessageMap* CSetPage::messageMap() const {
  static const MessageMap map = MessageMapBuilder<CSetPage>()
                                    .on(EventKind::Click, IDC_SET_CONNECT, &CSetPage::OnConnect)
                                    .on(EventKind::Click, IDC_SET_DISCONNECT, &CSetPage::OnDisconnect)
                                    .on(EventKind::Click, IDC_SET_SCAN, &CSetPage::OnScan)
                                    .on(EventKind::Click, IDC_SET_STATUS, &CSetPage::OnStatus)
                                    .on(EventKind::Click, IDC_SET_RESET, &CSetPage::OnReset)
                                    .on(EventKind::Click, IDC_SET_SOCK_CREATE, &CSetPage::OnCreate)
                                    .on(EventKind::Click, IDC_SET_SOCK_CLOSE, &CSetPage::OnClose)
                                    .on(EventKind::Click, IDC_SET_SOCK_QUERY, &CSetPage::OnQuery)
                                    .on(EventKind::Click, IDC_SET_SOCK_SEND, &CSetPage::OnSend)
                                    .on(EventKind::Click, IDC_SET_SOCK_RECEIVE, &CSetPage::OnReceive)
                                    .on(EventKind::Click, IDC_SET_COMMAND_SEND, &CSetPage::OnCommand)
                                    .on(EventKind::Click, IDC_SET_CLEAR, &CSetPage::OnClear)
                                    .on(EventKind::ContextMenu, IDC_SET_OUTPUT, &CSetPage::OnContextMenu)
                                    .build();
  return &map;
}

bool CSetPage::OnInitDialog() {
  Dialog* parent = parentWindow();
  m_link = parent != nullptr ? reinterpret_cast<ModuleLink*>(parent->send(WM_GET_MODULE_LINK)) : nullptr;
  m_log.clear();
  setText(IDC_SET_OUTPUT, "");
  setText(IDC_SET_COMMAND, "AT+");
  m_socketSettings = SocketSetup{};
  return true;
}

bool CSetPage::OnSetActive() {
  // The console is for a module on a serial line: over the dongle alone the previous
  // page comes back.
  if (m_services.DongleLinkOpen() && !m_services.SerialLinkOpen() && parentWindow() != nullptr)
    parentWindow()->post(WM_SHOW_PAGE, 0, 0);
  return true;
}

void CSetPage::AppendOutput(const std::string& text) {
  m_log += text;
  setText(IDC_SET_OUTPUT, m_log);
  scrollToEnd(IDC_SET_OUTPUT);
}

void CSetPage::AppendFailure(const char* sentence, int code) {
  AppendOutput(sentence + std::string(ErrorText(code)) + "\r\n\r\n");
}

void CSetPage::OnConnect() {
  AppendOutput("Connect/create network.\r\n");
  ScanEntry joined;
  const int result = m_link != nullptr ? m_link->joinNetwork(joined) : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Connect/create network failed,", result);
  AppendOutput("Connect/create network complete.\r\n");
  AppendOutput("NetMode Encry   BSSID     Channel  SSID  \r\n");
  AppendOutput(FormatNetworkLine(joined, NetworkLine::Joined) + "\r\n\r\n");
}

void CSetPage::OnDisconnect() {
  AppendOutput("Disconnect network.\r\n");
  const int result = m_link != nullptr ? m_link->leaveNetwork() : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Disconnect network failed,", result);
  AppendOutput("Disconnect network complete.\r\n\r\n");
}

void CSetPage::OnScan() {
  std::vector<ScanEntry> entries;
  entries.reserve(kMaxScanEntries);
  AppendOutput("Scanning.\r\n");
  const int result = m_link != nullptr ? m_link->startScan() : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Scan failed,", result);
  CScan progress(host(), this, m_scanStep);
  progress.runModal();
  (void)m_link->collectScan(entries);
  AppendOutput(ScanResultText(entries));
}

void CSetPage::OnStatus() {
  AppendOutput("Query the connect property.\r\n");
  LinkState state;
  const int result = m_link != nullptr ? m_link->linkState(state) : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Query failed,", result);
  AppendOutput("Query result is:");
  if (state.connected == 0) return AppendOutput("Not connected\r\n\r\n");
  AppendOutput("Already connected\r\n");
  char text[256];
  std::snprintf(text, sizeof text, "IP Addr   :%s\r\nSubnetMask:%s\r\nGateway   :%s\r\nDnsServer :%s\r\n\r\n", state.IpAddr,
                state.Mask, state.NetGate, state.Dns);
  AppendOutput(text);
}

void CSetPage::OnReset() {
  AppendOutput("Reset module.\r\n\r\n");
  if (m_link != nullptr) (void)m_link->resetModule();
  m_clock.sleep(kResetPause);
  CMess::Note(host(), this, "Please search module again！");
}

void CSetPage::OnCreate() {
  CSocketSet dialog(host(), this);
  dialog.m_spec = m_socketSettings;
  if (dialog.runModal() != IDOK) return;
  AppendOutput("Create a socket.\r\n");
  m_socketSettings = dialog.m_spec;
  SocketSetup copy = m_socketSettings;
  const int result = m_link != nullptr ? m_link->createSocket(copy) : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Create failed,", result);
  AppendOutput("Create succeed.The socket number is：" + std::to_string(copy.Protocol) + "\r\n\r\n");
}

void CSetPage::OnQuery() {
  std::vector<SocketState> states;
  states.reserve(kMaxSocketStates);
  CSocketRelative dialog(host(), this);
  if (dialog.runModal() != IDOK) return;
  AppendOutput("Get the socket information.\r\n");
  const int result = m_link != nullptr ? m_link->socketStates(dialog.m_socket, states) : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Get socket failed,", result);
  AppendOutput(SocketStatesText(states));
}

void CSetPage::OnClose() {
  CSocketRelative dialog(host(), this);
  if (dialog.runModal() != IDOK) return;
  AppendOutput("Close the socket.\r\n");
  const int result = m_link != nullptr ? m_link->closeSocket(dialog.m_socket) : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Close failed,", result);
  AppendOutput("Close succeed.\r\n\r\n");
}

void CSetPage::OnSend() {
  CSocketSend dialog(host(), this);
  if (dialog.runModal() != 1) return;
  AppendOutput("Send data With a fix socket.\r\n");
  std::size_t sent = 0;
  const auto* bytes = reinterpret_cast<const std::byte*>(dialog.m_data.data());
  const int result = m_link != nullptr ? m_link->sendOnSocket(dialog.m_socket, {bytes, dialog.m_count}, sent)
                                       : kResultInvalidHandle;
  if (result != kResultOk) return AppendFailure("Send failed,", result);
  AppendOutput("Send succeed.\r\n\r\n\r\n");
}

void CSetPage::OnReceive() {
  CSocketRecv dialog(host(), m_link, this);
  dialog.runModal();
}

void CSetPage::OnCommand() {
  const std::string command = text(IDC_SET_COMMAND);
  const std::string request = command + "\r";
  AppendOutput(command + "\r\n");
  if (m_link == nullptr || !m_link->WriteText(request)) return AppendOutput("Command set failed.\r\n\r\n");
  std::string reply = "Command return failed.\r\n\r\n";
  std::array<char, kReadBuffer> buffer{};
  for (int read = 0; read < kCommandReads; ++read) {
    std::size_t got = 0;
    buffer.fill(0);
    if (m_link->ReadText(buffer, got) && got > 0) {
      // The reply is the text up to its first zero byte.
      const std::string_view text(buffer.data(), std::min(got, buffer.size()));
      reply = std::string(text.substr(0, text.find('\0')));
      break;
    }
    m_clock.sleep(kCommandReadPause);
  }
  AppendOutput(RemoveEcho(reply, request) + "\r\n");
}

void CSetPage::OnClear() {
  m_log.clear();
  setText(IDC_SET_OUTPUT, "");
}

void CSetPage::OnContextMenu(const Event& event) {
  if (popupMenu({{IDM_SET_CLEAR, "Clear"}}, event.point) == IDM_SET_CLEAR) OnClear();
}

}  // namespace tarnwave
