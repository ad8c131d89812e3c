#include "config_tool/app/c_qtm42rb08_dlg.h"

#include <cstdio>
#include <thread>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/c_series_set.h"
#include "config_tool/app/c_wl_set.h"
#include "config_tool/app/resource.h"
#include "config_tool/links/dongle_link_values.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/devio/device_registry.h"
#include "platform/ui/property_page.h"
#include "platform/ui/wait_cursor.h"

namespace tarnwave {

using namespace kit::ui;

namespace {

constexpr auto kPaintSlice = std::chrono::milliseconds(10);

std::string DefaultPortList() {
  std::string list;
  (void)SerialPort::EnumeratePorts(list);
  return list;
}

bool DefaultDongleProbe() {
  kit::devio::DevError error{};
  auto device = kit::devio::OpenDevice(kirva::kDevicePath, error);
  if (!device) return false;
  device->close();
  return true;
}

void HandOverPassword(const std::string& password) {
  kirva::WirelessPassword bytes{};
  for (std::size_t i = 0; i < bytes.size() && i < password.size(); ++i) bytes[i] = static_cast<std::uint8_t>(password[i]);
  SetWirelessPassword(bytes);
}

std::string SwitchQuestion(int row) {
  char text[96];
  std::snprintf(text, sizeof text, kSwitchQuestionFormat, row + 1);
  return text;
}

}  // namespace

CQTM42RB08Dlg::CQTM42RB08Dlg(Host& host, Options options)
    : Dialog(host, Template()),
      m_options(std::move(options)),
      m_notes(host, this),
      m_search(m_link, *this, &m_notes),
      m_pages(MakeMainPages(host, *this)) {
  if (!m_options.listPorts) m_options.listPorts = DefaultPortList;
  if (!m_options.probeDongle) m_options.probeDongle = DefaultDongleProbe;
}

CQTM42RB08Dlg::~CQTM42RB08Dlg() {
  // The worker may still hand notes to m_notes: stop it before anything goes.
  m_search.shutDown();
}

DialogTemplate CQTM42RB08Dlg::Template() {
  DialogTemplate t;
  t.id = IDD_MAIN;
  t.caption = "Tarnwave Configuration ";
  t.width = 562;
  t.height = 304;
  t.controls = {
      GroupBox(IDC_MAIN_FRAME, "", {4, 0, 206, 300}),
      GroupBox(kNoId, "Port Connect", {10, 8, 194, 34}),
      Label(IDC_MAIN_PORT_LABEL, "Port:", {18, 24, 24, 10}),
      DropDownList(IDC_MAIN_PORT, {44, 22, 112, 120}, {"Close", "Auto"}),
      Button(IDC_MAIN_PORT_SET, "Set", {162, 21, 36, 14}),
      GroupBox(IDC_MAIN_WIRELESS_GROUP, "Wireless Connect", {10, 46, 194, 34}),
      Label(IDC_MAIN_CHANNEL_LABEL, "CH:", {18, 62, 24, 10}),
      DropDownList(IDC_MAIN_CHANNEL, {44, 60, 112, 150},
                   {"Close", "Auto", " 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", " 10", " 11", " 12",
                    " 13", " 14"}),
      Button(IDC_MAIN_WIRELESS_SET, "Set", {162, 59, 36, 14}),
      Button(IDC_MAIN_SEARCH, "Search", {18, 88, 80, 16}),
      CheckBox(IDC_MAIN_MODIFY_ALL, "Modify All", {116, 90, 80, 12}, kDisabled),
      Control(IDC_MAIN_DEVICE_LIST, ControlKind::ListView, {10, 110, 194, 184},
              kFullRowSelect | kGridLines | kSmallIcons),
      Control(IDC_MAIN_PAGE_AREA, ControlKind::PageArea, {215, 0, 344, 302}),
  };
  return t;
}

const MessageMap* CQTM42RB08Dlg::messageMap() const {
  static const MessageMap map = MessageMapBuilder<CQTM42RB08Dlg>()
                                    .on(EventKind::DoubleClick, IDC_MAIN_DEVICE_LIST, &CQTM42RB08Dlg::OnDeviceDoubleClick)
                                    .on(EventKind::Click, IDC_MAIN_SEARCH, &CQTM42RB08Dlg::OnSearch)
                                    .on(EventKind::Click, IDC_MAIN_PORT_SET, &CQTM42RB08Dlg::OnSerialSet)
                                    .on(EventKind::Click, IDC_MAIN_WIRELESS_SET, &CQTM42RB08Dlg::OnWirelessSet)
                                    .on(EventKind::Click, IDC_MAIN_MODIFY_ALL, &CQTM42RB08Dlg::OnModifyAll)
                                    .on(EventKind::SelectionChange, IDC_MAIN_PORT, &CQTM42RB08Dlg::OnPortChange)
                                    .on(EventKind::SelectionChange, IDC_MAIN_CHANNEL, &CQTM42RB08Dlg::OnChannelChange)
                                    .onMessage(WM_GET_MODULE_LINK, &CQTM42RB08Dlg::OnGetModuleLink)
                                    .onMessage(WM_SHOW_PAGE, &CQTM42RB08Dlg::OnShowPage)
                                    .build();
  return &map;
}

// --- Opening ---------------------------------------------------------------------------

bool CQTM42RB08Dlg::OnInitDialog() {
  for (auto& page : m_pages.pages) addPage(IDC_MAIN_PAGE_AREA, *page, page->dialogTemplate().caption);
  m_reportedPage = kConfigPageIndex;
  m_modifyAll = false;
  m_closeEnabled = true;

  m_settings = ReadUserSettings(m_options.settingsPath);
  m_channelChoice = m_settings.channel;

  setActivePage(IDC_MAIN_PAGE_AREA, kConfigPageIndex);
  enable(IDC_MAIN_PAGE_AREA, false);
  HandOverPassword(m_settings.password);

  setSelection(IDC_MAIN_CHANNEL, m_channelChoice + 1);
  if (m_channelChoice == -1) enable(IDC_MAIN_WIRELESS_SET, false);

  fillPortBox();
  setUpList();
  probeDongle();
  return true;
}

void CQTM42RB08Dlg::fillPortBox() {
  m_portList = m_options.listPorts();
  clearItems(IDC_MAIN_PORT);
  addItem(IDC_MAIN_PORT, "Close");
  addItem(IDC_MAIN_PORT, "Auto");
  for (const std::string& name : ModuleSearch::SplitPortList(m_portList)) addItem(IDC_MAIN_PORT, name);
  const int choice = m_settings.comEn < itemCount(IDC_MAIN_PORT) ? m_settings.comEn : 1;
  setSelection(IDC_MAIN_PORT, choice);
  if (choice == 0) enable(IDC_MAIN_PORT_SET, false);
}

void CQTM42RB08Dlg::setUpList() {
  // The list's client area lies inside its two-pixel border.
  const int w = controlPixels(IDC_MAIN_DEVICE_LIST).width - 4;
  setColumns(IDC_MAIN_DEVICE_LIST, {{"No.", w / 3 - 15}, {"Port", w / 3 - 12}, {"Device ID", w / 3 + 33}});
}

void CQTM42RB08Dlg::probeDongle() {
  if (m_options.probeDongle()) return;  // the device opened and is closed again
  setSelection(IDC_MAIN_CHANNEL, 0);
  enable(IDC_MAIN_CHANNEL, false);
  enable(IDC_MAIN_WIRELESS_SET, false);
  enable(IDC_MAIN_CHANNEL_LABEL, false);
  m_channelChoice = kNoDongle;
}

// --- Closing ---------------------------------------------------------------------------

void CQTM42RB08Dlg::saveAndEnd(int code) {
  // While a search or an update runs the window cannot be closed.
  if (m_busy || !m_closeEnabled) return;
  (void)WriteUserSettings(m_options.settingsPath, selection(IDC_MAIN_PORT), selection(IDC_MAIN_CHANNEL), m_settings);
  endDialog(code);
}

void CQTM42RB08Dlg::OnOK() { saveAndEnd(IDOK); }
void CQTM42RB08Dlg::OnCancel() { saveAndEnd(IDCANCEL); }
void CQTM42RB08Dlg::OnClose() { saveAndEnd(IDCANCEL); }

// --- Search and switching --------------------------------------------------------------

void CQTM42RB08Dlg::pause(std::chrono::milliseconds duration) {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  for (;;) {
    if (m_options.pumpEvents) m_options.pumpEvents();
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kPaintSlice));
  }
}

void CQTM42RB08Dlg::rowAdded(int index, const DeviceRow& row) {
  insertRow(IDC_MAIN_DEVICE_LIST, index, {row.number, row.port, row.deviceId}, 0);
}

void CQTM42RB08Dlg::Search() { OnSearch(); }

void CQTM42RB08Dlg::OnSearch() {
  if (m_busy) return;
  m_busy = true;
  WaitCursor wait(host());
  const SerialSettings settingsAtStart = m_settings.serial;

  clearRows(IDC_MAIN_DEVICE_LIST);
  enable(IDC_MAIN_PAGE_AREA, false);
  m_closeEnabled = false;
  if (activePage(IDC_MAIN_PAGE_AREA) == kConfigPageIndex) enable(IDC_MAIN_SEARCH, false);

  SearchRequest request;
  request.portChoice = selection(IDC_MAIN_PORT) < 0 ? 0 : selection(IDC_MAIN_PORT);
  request.channelChoice = m_channelChoice;
  request.settings = m_settings.serial;
  request.searchAddress = m_settings.searchAddress;
  request.portList = m_portList;
  const SearchResult result = m_search.search(request);

  switch (result.outcome) {
    case SearchOutcome::NoChoice:
      CMess::Note(host(), this, kNoSearchChosenText);
      break;
    case SearchOutcome::NothingFound:
      CMess::Note(host(), this, kNothingFoundText);
      m_pages.clearConfiguration();
      break;
    case SearchOutcome::Found:
      if (result.refreshConfiguration) m_pages.refreshConfiguration();
      if (result.enablePages) {
        enable(IDC_MAIN_PAGE_AREA, true);
        enable(IDC_MAIN_MODIFY_ALL, result.enableModifyAll);
        setCheck(IDC_MAIN_MODIFY_ALL, false);
        m_modifyAll = false;
      }
      break;
  }

  setActivePage(IDC_MAIN_PAGE_AREA, kConfigPageIndex);
  m_settings.serial = settingsAtStart;
  enable(IDC_MAIN_SEARCH, true);
  m_closeEnabled = true;
  m_busy = false;
}

void CQTM42RB08Dlg::OnDeviceDoubleClick() {
  if (m_busy) return;
  const int row = selection(IDC_MAIN_DEVICE_LIST);
  if (row < 0 || row >= DeviceCount() || row == CurrentRow()) return;
  if (CMess::Confirm(host(), this, SwitchQuestion(row)) != IDOK) return;

  m_busy = true;
  SwitchOutcome outcome;
  {
    WaitCursor wait(host());
    outcome = m_search.switchTo(row, m_settings.serial);
  }
  m_busy = false;
  switch (outcome) {
    case SwitchOutcome::Switched:
      m_pages.refreshConfiguration();
      if (activePage(IDC_MAIN_PAGE_AREA) == kInformationPageIndex) m_pages.refreshInformation();
      break;
    case SwitchOutcome::Failed:
      CMess::Note(host(), this, kSwitchFailedText);
      break;
    case SwitchOutcome::FailedSearchAgain:
      CMess::Note(host(), this, kSwitchFailedText);
      OnSearch();
      break;
    case SwitchOutcome::Unchanged:
    case SwitchOutcome::NotMainCode:
      break;
  }
}

int CQTM42RB08Dlg::SwitchToRow(int row) {
  const int result = m_search.switchToRow(row, m_settings.serial);
  if (result == kResultUnexpectedReply) CMess::Note(host(), this, kSwitchForAllFailedText);
  return result;
}

// --- Connection controls ------------------------------------------------------------------

void CQTM42RB08Dlg::OnSerialSet() {
  if (m_busy) return;
  CSeriesSet dialog(host(), this);
  dialog.m_baudRate = m_settings.serial.baudRate;
  dialog.m_dataBitIndex = m_settings.serial.dataBitsIndex;
  dialog.m_parityIndex = m_settings.serial.parityIndex;
  dialog.m_stopBitIndex = m_settings.serial.stopBitsIndex;
  if (dialog.runModal() != IDOK) return;
  m_settings.serial = {dialog.m_baudRate, dialog.m_dataBitIndex, dialog.m_stopBitIndex, dialog.m_parityIndex};
  m_link.changeSettings(m_settings.serial);
}

void CQTM42RB08Dlg::OnWirelessSet() {
  if (m_busy) return;
  CWlSet dialog(host(), this);
  dialog.m_password = m_settings.password;
  dialog.m_searchAddress = m_settings.searchAddress;
  if (dialog.runModal() != IDOK) return;
  m_settings.password = dialog.m_password;
  m_settings.searchAddress = dialog.m_searchAddress;
  HandOverPassword(m_settings.password);
}

void CQTM42RB08Dlg::OnModifyAll() { m_modifyAll = isChecked(IDC_MAIN_MODIFY_ALL); }

void CQTM42RB08Dlg::OnPortChange() { enable(IDC_MAIN_PORT_SET, selection(IDC_MAIN_PORT) > 0); }

void CQTM42RB08Dlg::OnChannelChange() {
  const int index = selection(IDC_MAIN_CHANNEL);
  enable(IDC_MAIN_WIRELESS_SET, index > 0);
  m_channelChoice = index > 0 ? index - 1 : -1;
}

void CQTM42RB08Dlg::LockControls(bool lock) {
  // Unlocked, each "Set" button follows its box as a change of the box would leave it.
  enable(IDC_MAIN_PORT_SET, !lock && selection(IDC_MAIN_PORT) > 0);
  enable(IDC_MAIN_SEARCH, !lock);
  enable(IDC_MAIN_PORT, !lock);
  if (!dongleFoundAtStart()) return;
  enable(IDC_MAIN_WIRELESS_SET, !lock && selection(IDC_MAIN_CHANNEL) > 0);
  enable(IDC_MAIN_CHANNEL, !lock);
}

// --- Messages from the pages ---------------------------------------------------------------

std::intptr_t CQTM42RB08Dlg::OnGetModuleLink(std::uintptr_t, std::intptr_t) {
  return reinterpret_cast<std::intptr_t>(&m_link);
}

std::intptr_t CQTM42RB08Dlg::OnShowPage(std::uintptr_t page, std::intptr_t) {
  setActivePage(IDC_MAIN_PAGE_AREA, page == kFirmwarePageIndex ? kFirmwarePageIndex : m_reportedPage);
  return 0;
}

}  // namespace tarnwave
