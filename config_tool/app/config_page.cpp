#include "config_tool/app/config_page.h"

#include <filesystem>

#include "config_tool/app/advanced_block.h"
#include "config_tool/app/c_advance.h"
#include "config_tool/app/c_fix_complete.h"
#include "config_tool/app/c_mess.h"
#include "config_tool/app/parameter_checks.h"
#include "config_tool/app/parameter_file.h"
#include "config_tool/app/parameter_steps.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/reply_codec.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/sync/clock.h"
#include "platform/text/number_reader.h"

namespace tarnwave {

using namespace kit::ui;

namespace {

constexpr std::uint16_t kAddressControls[] = {IDC_CFG_IP_ADDR, IDC_CFG_MASK, IDC_CFG_GATEWAY, IDC_CFG_DNS};
constexpr std::uint16_t kAutoModeControls[] = {IDC_CFG_PROTOCOL, IDC_CFG_CS_MODE, IDC_CFG_SERVER_ADDR, IDC_CFG_PORT,
                                               IDC_CFG_CONNECT_TIME};
constexpr const char* kFilter = "Config.cfg(*.cfg)|*.cfg||";

// A failure note: the fixed sentence, then the code's text.
std::string WithErrorText(std::string sentence, int code) { return sentence + std::string(ErrorText(code)); }

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string Field(const char* field, std::size_t capacity) { return std::string(field, strnlen(field, capacity)); }

// An address control's value as four dotted numbers.
std::string Dotted(std::uint32_t a) {
  return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." + std::to_string((a >> 8) & 0xFF) +
         "." + std::to_string(a & 0xFF);
}

// Replaces "%s" or "%d" in a message with `value`.
std::string Format(std::string text, const std::string& value) {
  const std::size_t at = text.find('%');
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace

ConfigPage::ConfigPage(Host& host, MainWindowServices& services)
    : PropertyPage(host, Template()), m_services(services) {}

DialogTemplate ConfigPage::Template() {
  DialogTemplate t;
  t.id = IDD_CONFIG_PAGE;
  t.caption = "Configuration";
  t.width = 290;
  t.height = 262;
  t.flags = kChildWindow;
  t.controls = {
      GroupBox(kNoId, "Wireless Setting", {5, 4, 280, 82}),
      Label(kNoId, "SSID:", {12, 18, 46, 10}),
      EditBox(IDC_CFG_SSID, {62, 16, 120, 12}, 0, 32),
      Label(kNoId, "Encry Mode:", {12, 34, 46, 10}),
      DropDownList(IDC_CFG_ENCRY, {62, 32, 90, 110},
                   {"OPEN", "WEP64", "WEP128", "WPA-PSK(TKIP)", "WPA-PSK(CCMP)", "WPA2-PSK(TKIP)", "WPA2-PSK(CCMP)",
                    "WAPI-PSK"}),
      Label(kNoId, "Key Type:", {162, 34, 36, 10}),
      DropDownList(IDC_CFG_KEY_TYPE, {200, 32, 60, 40}, {"HEX", "ASCII"}),
      Label(kNoId, "Key Index:", {12, 50, 46, 10}),
      RadioButton(IDC_CFG_KEY_INDEX_1, "1", {62, 50, 22, 10}, kGroupStart),
      RadioButton(IDC_CFG_KEY_INDEX_1 + 1, "2", {88, 50, 22, 10}),
      RadioButton(IDC_CFG_KEY_INDEX_1 + 2, "3", {114, 50, 22, 10}),
      RadioButton(IDC_CFG_KEY_INDEX_4, "4", {140, 50, 22, 10}),
      Label(kNoId, "Key:", {12, 66, 46, 10}),
      EditBox(IDC_CFG_KEY, {62, 64, 215, 12}, 0, 64),

      GroupBox(kNoId, "Network Setting", {5, 89, 280, 62}),
      CheckBox(IDC_CFG_DHCP, "Enable DHCP", {12, 101, 80, 10}),
      Label(kNoId, "IP Addr:", {12, 117, 46, 10}),
      Control(IDC_CFG_IP_ADDR, ControlKind::IpAddress, {62, 115, 78, 12}),
      Label(kNoId, "Subnet Mask:", {148, 117, 48, 10}),
      Control(IDC_CFG_MASK, ControlKind::IpAddress, {200, 115, 78, 12}),
      Label(kNoId, "Gateway Addr:", {12, 133, 48, 10}),
      Control(IDC_CFG_GATEWAY, ControlKind::IpAddress, {62, 131, 78, 12}),
      Label(kNoId, "DNS Server:", {148, 133, 48, 10}),
      Control(IDC_CFG_DNS, ControlKind::IpAddress, {200, 131, 78, 12}),

      GroupBox(kNoId, "Workmode Setting", {5, 154, 280, 82}),
      CheckBox(IDC_CFG_AUTO_WORKMODE, "Auto Workmode", {12, 166, 80, 10}),
      Label(kNoId, "ProtocolType:", {12, 182, 48, 10}),
      DropDownList(IDC_CFG_PROTOCOL, {62, 180, 60, 40}, {"TCP", "UDP"}),
      Label(kNoId, "C/S Mode:", {148, 182, 48, 10}),
      DropDownList(IDC_CFG_CS_MODE, {200, 180, 60, 40}, {"Client", "Server"}),
      Label(kNoId, "ServerAddr:", {12, 198, 48, 10}),
      EditBox(IDC_CFG_SERVER_ADDR, {62, 196, 78, 12}, 0, 31),
      Label(kNoId, "Port:", {148, 198, 48, 10}),
      EditBox(IDC_CFG_PORT, {200, 196, 40, 12}, kNumberOnly, 5),
      Label(kNoId, "TCPConTime:", {12, 214, 48, 10}),
      EditBox(IDC_CFG_CONNECT_TIME, {62, 212, 50, 12}, kNumberOnly, 8),
      Label(kNoId, "s(0～10000000,0 means forever)", {116, 214, 160, 10}),

      Button(IDC_CFG_REFRESH, "Refresh", {5, 242, 44, 14}),
      Button(IDC_CFG_MODIFY, "Modify", {52, 242, 44, 14}),
      Button(IDC_CFG_RECOVERY, "Recovery", {99, 242, 44, 14}),
      Button(IDC_CFG_IMPORT, "Import", {146, 242, 44, 14}),
      Button(IDC_CFG_EXPORT, "Export", {193, 242, 44, 14}),
      Button(IDC_CFG_ADVANCE, "Advance", {240, 242, 44, 14}),
  };
  return t;
}

const MessageMap* ConfigPage::messageMap() const {
  static const MessageMap map = MessageMapBuilder<ConfigPage>()
                                    .on(EventKind::Click, IDC_CFG_REFRESH, &ConfigPage::OnRefresh)
                                    .on(EventKind::Click, IDC_CFG_MODIFY, &ConfigPage::OnModify)
                                    .on(EventKind::Click, IDC_CFG_RECOVERY, &ConfigPage::OnRecovery)
                                    .on(EventKind::Click, IDC_CFG_IMPORT, &ConfigPage::OnImport)
                                    .on(EventKind::Click, IDC_CFG_EXPORT, &ConfigPage::OnExport)
                                    .on(EventKind::Click, IDC_CFG_ADVANCE, &ConfigPage::OnAdvance)
                                    .on(EventKind::Click, IDC_CFG_DHCP, &ConfigPage::OnDhcp)
                                    .on(EventKind::Click, IDC_CFG_AUTO_WORKMODE, &ConfigPage::OnAutoWorkmode)
                                    .on(EventKind::SelectionChange, IDC_CFG_CS_MODE, &ConfigPage::OnCsModeChange)
                                    .on(EventKind::SelectionChange, IDC_CFG_ENCRY, &ConfigPage::OnEncryChange)
                                    .on(EventKind::SelectionChange, IDC_CFG_KEY_TYPE, &ConfigPage::OnKeyTypeChange)
                                    .build();
  return &map;
}

bool ConfigPage::OnInitDialog() {
  if (Dialog* mainWindow = parentWindow())
    m_link = reinterpret_cast<ModuleLink*>(mainWindow->send(WM_GET_MODULE_LINK));
  m_current = ModuleParameters{};
  m_edited = ModuleParameters{};
  setTextLimit(IDC_CFG_SSID, 32);
  setTextLimit(IDC_CFG_KEY, 64);
  setTextLimit(IDC_CFG_PORT, 5);
  setTextLimit(IDC_CFG_SERVER_ADDR, 31);
  setTextLimit(IDC_CFG_CONNECT_TIME, 8);
  m_importPath = m_exportPath = ".\\Config.cfg";
  setTooltip(IDC_CFG_REFRESH, "Refresh Parameters");
  setTooltip(IDC_CFG_MODIFY, "Commit modification");
  setTooltip(IDC_CFG_RECOVERY, "Restore Factory Default");
  setTooltip(IDC_CFG_IMPORT, "Import Parameters");
  setTooltip(IDC_CFG_EXPORT, "Export Parameters");
  setTooltip(IDC_CFG_ADVANCE, "Advanced Settings");
  return true;
}

bool ConfigPage::OnSetActive() {
  m_services.ReportPage(0);
  return true;
}

int ConfigPage::Note(const std::string& text) { return CMess::Note(host(), this, text); }
int ConfigPage::Confirm(const std::string& text) { return CMess::Confirm(host(), this, text); }

// --- The records ------------------------------------------------------------------------

int ConfigPage::ApplyParameters(CommandForm form) {
  m_form = form;
  m_changed = false;
  if (m_link == nullptr) return kResultWorkerSetupFailed;
  return RunParameterSteps(*m_link, form, m_current, m_edited, m_changed);
}

bool ConfigPage::CheckKey(const std::string& key) {
  if (auto note = tarnwave::CheckKey(selection(IDC_CFG_ENCRY), selection(IDC_CFG_KEY_TYPE), key)) {
    Note(*note);
    return false;
  }
  return true;
}

bool ConfigPage::CollectPage() {
  const int checked = checkedRadioButton(IDC_CFG_KEY_INDEX_1, IDC_CFG_KEY_INDEX_4);
  m_keyIndex = checked == 0 ? 0 : checked - IDC_CFG_KEY_INDEX_1;
  ModuleParameters& e = m_edited;
  std::memset(e.Ssid, 0, sizeof e.Ssid);
  e.KeySetting = KeySetting{};
  e.NetSetting = NetSetting{};
  e.AutoModeSetting = AutoModeSetting{};
  e.Encry = 0;
  e.ModeEn = 0;

  // 1. The SSID.
  const std::string ssid = text(IDC_CFG_SSID);
  if (ssid.empty()) {
    Note(std::string(kNoteNoSsid));
    return true;
  }
  if (!IsSendableText(ssid)) {
    Note(std::string(kNoteUnsendableText));
    return true;
  }
  CopyText(ssid, e.Ssid, sizeof e.Ssid);
  // 2. Encryption, key type (also while its list is disabled) and key index.
  e.Encry = selection(IDC_CFG_ENCRY);
  e.KeySetting.KeyType = selection(IDC_CFG_KEY_TYPE);
  e.KeySetting.KeyId = (e.Encry == kEncryWep64 || e.Encry == kEncryWep128) ? m_keyIndex + 1 : 0;
  // 3. The key.
  const std::string key = text(IDC_CFG_KEY);
  if (!CheckKey(key)) return true;
  if (!IsSendableText(key)) {
    Note(std::string(kNoteUnsendableText));
    return true;
  }
  CopyText(key, e.KeySetting.Key, sizeof e.KeySetting.Key);
  // 4. Addresses.
  if (isChecked(IDC_CFG_DHCP)) {
    e.NetSetting.addressMode = 0;
  } else {
    e.NetSetting.addressMode = 1;
    char* fields[] = {e.NetSetting.IpAddr, e.NetSetting.Mask, e.NetSetting.NetGate, e.NetSetting.Dns};
    for (std::size_t i = 0; i < 4; ++i) {
      CopyText(Dotted(address(kAddressControls[i]).value_or(0)), fields[i], sizeof e.NetSetting.IpAddr);
    }
  }
  // 5. and 6. The automatic work mode.
  if (!isChecked(IDC_CFG_AUTO_WORKMODE)) {
    e.ModeEn = 1;
  } else {
    e.ModeEn = 0;
    AutoModeSetting& a = e.AutoModeSetting;
    a.Protocol = selection(IDC_CFG_PROTOCOL);
    a.CsMode = selection(IDC_CFG_CS_MODE);
    if (a.CsMode == 0) {
      const std::string host = text(IDC_CFG_SERVER_ADDR);
      if (host.empty()) {
        Note(std::string(kNoteNoHost));
        return true;
      }
      if (!IsSendableText(host)) {
        Note(std::string(kNoteUnsendableText));
        return true;
      }
      CopyText(host, a.Host, sizeof a.Host);
    } else {
      const std::string time = text(IDC_CFG_CONNECT_TIME);
      const unsigned long passTime = kit::ReadLeadingUnsigned(time);
      a.PassTime = static_cast<std::int32_t>(passTime);
      if (time.empty() || passTime > kMaxPassTime) {
        Note(std::string(kNoteBadPassTime));
        return true;
      }
    }
    const unsigned long port = kit::ReadLeadingUnsigned(text(IDC_CFG_PORT));
    a.Port = static_cast<std::int32_t>(port);
    if (port == 0 || port > kMaxPort) {
      Note(std::string(kNoteBadPort));
      return true;
    }
  }
  // 7. The advanced part, unchanged.
  CopyAdvancedBlock(m_advanced, e);
  return false;
}

void ConfigPage::ShowParameters() {
  const ModuleParameters& r = m_current;
  // 1.
  EnableKeyIndexGroup(true);
  enable(IDC_CFG_KEY, true);
  m_keyIndex = 0;
  setText(IDC_CFG_SSID, Field(r.Ssid, sizeof r.Ssid));
  // 2.
  if (r.Encry == kBlankMarker) {
    setText(IDC_CFG_KEY, "");
    setSelection(IDC_CFG_ENCRY, -1);
    setSelection(IDC_CFG_KEY_TYPE, -1);
  } else {
    if (!setSelection(IDC_CFG_ENCRY, r.Encry)) setSelection(IDC_CFG_ENCRY, -1);
    if (r.Encry == kEncryOpen) {
      EnableKeyIndexGroup(false);
      enable(IDC_CFG_KEY, false);
      enable(IDC_CFG_KEY_TYPE, false);
      setText(IDC_CFG_KEY, "");
    } else {
      enable(IDC_CFG_KEY_TYPE, true);
      if (r.Encry > kEncryWep128) EnableKeyIndexGroup(false);
      setText(IDC_CFG_KEY, Field(r.KeySetting.Key, sizeof r.KeySetting.Key));
    }
    if (!setSelection(IDC_CFG_KEY_TYPE, r.KeySetting.KeyType)) setSelection(IDC_CFG_KEY_TYPE, -1);
    const int keyId = r.KeySetting.KeyId;
    m_keyIndex = keyId >= 1 && keyId <= 4 ? keyId - 1 : 0;
  }
  // 3.
  if (r.NetSetting.addressMode == kBlankMarker) {
    setCheck(IDC_CFG_DHCP, false);
    for (std::uint16_t id : kAddressControls) clearAddress(id);
  } else {
    const bool dhcp = r.NetSetting.addressMode == 0;
    setCheck(IDC_CFG_DHCP, dhcp);
    const char* texts[] = {r.NetSetting.IpAddr, r.NetSetting.Mask, r.NetSetting.NetGate, r.NetSetting.Dns};
    for (std::size_t i = 0; i < 4; ++i) {
      enable(kAddressControls[i], !dhcp);
      // An address control shows four numbers; a text it cannot hold shows as 0.0.0.0.
      setText(kAddressControls[i], Field(texts[i], sizeof r.NetSetting.IpAddr));
      if (!address(kAddressControls[i])) setAddress(kAddressControls[i], 0);
    }
  }
  // 4.
  const AutoModeSetting& a = r.AutoModeSetting;
  if (a.CsMode == kBlankMarker) {
    setText(IDC_CFG_SERVER_ADDR, "");
    setText(IDC_CFG_CONNECT_TIME, "");
    setText(IDC_CFG_PORT, "");
    setSelection(IDC_CFG_PROTOCOL, -1);
    setSelection(IDC_CFG_CS_MODE, -1);
    setCheck(IDC_CFG_AUTO_WORKMODE, false);
  } else {
    if (!setSelection(IDC_CFG_PROTOCOL, a.Protocol)) setSelection(IDC_CFG_PROTOCOL, -1);
    if (r.ModeEn != 0) {
      setCheck(IDC_CFG_AUTO_WORKMODE, false);
      for (std::uint16_t id : kAutoModeControls) enable(id, false);
      setText(IDC_CFG_CONNECT_TIME, "");
    } else {
      setCheck(IDC_CFG_AUTO_WORKMODE, true);
      for (std::uint16_t id : kAutoModeControls) enable(id, true);
    }
    if (a.CsMode == 0) {
      setText(IDC_CFG_SERVER_ADDR, Field(a.Host, sizeof a.Host));
      enable(IDC_CFG_CONNECT_TIME, false);
      setText(IDC_CFG_CONNECT_TIME, "");
    } else {
      setText(IDC_CFG_SERVER_ADDR, "");
      enable(IDC_CFG_SERVER_ADDR, false);
      setText(IDC_CFG_CONNECT_TIME, std::to_string(a.PassTime));
    }
    if (!setSelection(IDC_CFG_CS_MODE, a.CsMode)) setSelection(IDC_CFG_CS_MODE, -1);
    setText(IDC_CFG_PORT, std::to_string(a.Port));
    SetKeyLengthLimit();
  }
  // 5.
  checkRadioButton(IDC_CFG_KEY_INDEX_1, IDC_CFG_KEY_INDEX_4, IDC_CFG_KEY_INDEX_1 + m_keyIndex);
}

void ConfigPage::ClearPage() {
  m_current = ModuleParameters{};
  m_current.Encry = kBlankMarker;
  m_current.KeySetting.KeyType = kBlankMarker;
  m_current.NetSetting.addressMode = kBlankMarker;
  m_current.AutoModeSetting.CsMode = kBlankMarker;
  ShowParameters();
}

// --- Buttons ----------------------------------------------------------------------------

void ConfigPage::OnRefresh() { Refresh(); }

void ConfigPage::Refresh() {
  enable(IDC_CFG_REFRESH, false);
  const int result = ApplyParameters(CommandForm::Query);
  if (result != kResultOk) Note(WithErrorText("Parameters get error,", result));
  CopyAdvancedBlock(m_current, m_advanced);
  ShowParameters();
  enable(IDC_CFG_REFRESH, true);
}

void ConfigPage::OnModify() {
  if (m_services.ModifyAllChecked()) ModifyAll();
  else ModifyOne();
}

void ConfigPage::ModifyOne() {
  enable(IDC_CFG_MODIFY, false);
  const auto done = [this] { enable(IDC_CFG_MODIFY, true); };
  if (CollectPage()) return done();
  const int result = ApplyParameters(CommandForm::Set);
  if (result != kResultOk) {
    Note(WithErrorText("Parameter setting error,", result));
    return done();
  }
  if (!m_changed) {
    Note("No valid parameters to modify!");
    return done();
  }
  const int flash = m_link->writeFlash();
  if (flash != kResultOk) {
    Note(WithErrorText("Update to FLASH error,", flash));
    return done();
  }
  CFixComplete complete(host(), this);
  if (complete.runModal() == IDOK) ResetModule();
  done();
}

void ConfigPage::ResetModule() {
  ModuleTransport* transport = m_link->transport();
  if (transport == nullptr || !transport->openExchange(251)) {
    Note("Wireless connection error！");
    return;
  }
  (void)m_link->resetModule();
  // The module needs the moment before the exchange closes.
  kit::SystemClock::instance().sleep(std::chrono::milliseconds(500));
  if (!transport->closeExchange()) {
    Note("Wireless connection error！");
    return;
  }
  m_services.Search();
}

void ConfigPage::ModifyAll() {
  if (Confirm("Are you sure to modify all the modules' parameters？") != IDOK) return;
  enable(IDC_CFG_MODIFY, false);
  const auto done = [this] { enable(IDC_CFG_MODIFY, true); };
  const int selected = m_services.CurrentRow();
  const int count = m_services.DeviceCount();
  for (int i = 0; i < count; ++i) {
    const std::string number = std::to_string(i + 1);
    if (m_services.SwitchToRow(i) != kResultOk) {
      Note("Switching device error, please search again ！");
      return done();
    }
    int result = ApplyParameters(CommandForm::Query);
    if (result != kResultOk) {
      Note(WithErrorText(Format("Get %d device parameter error,", number), result));
      continue;
    }
    if (CollectPage()) return done();
    result = ApplyParameters(CommandForm::Set);
    if (result != kResultOk) {
      Note(WithErrorText(Format("Get %d device setting error,", number), result));
      continue;
    }
    if (!m_changed) {
      Note(Format("%d device have not valid parameter to modify!", number));
      continue;
    }
    const int flash = m_link->writeFlash();
    if (flash != kResultOk) {
      Note(WithErrorText(Format("Update %d device to the FLASH error,", number), flash));
      return done();
    }
  }
  if (m_services.SwitchToRow(selected) != kResultOk) Note("Switching device error, please search again ！");
  else Note("Modify parameter complete！");
  done();
}

void ConfigPage::OnRecovery() {
  enable(IDC_CFG_RECOVERY, false);
  if (Confirm("Sure you determine the recovery factory setting?") == IDOK) {
    const int result = m_link != nullptr ? m_link->restoreFactory() : kResultInvalidHandle;
    if (result != kResultOk) Note(WithErrorText("determine the recovery factory failed,", result));
    else Note("determine the recovery factory complete！");
  }
  enable(IDC_CFG_RECOVERY, true);
}

void ConfigPage::OnExport() {
  if (CollectPage()) return;
  FileChooserRequest request;
  request.mode = ChooserMode::Open;
  request.filter = kFilter;
  request.defaultExtension = "cfg";
  request.promptToCreate = true;
  const std::optional<std::string> chosen = chooseFile(request);
  if (!chosen) return;
  m_exportPath = *chosen;
  const std::string name = FileName(m_exportPath);
  if (!WriteParameterFile(m_edited, m_exportPath)) {
    Note(Format(kNoteExportFailed, name));
    return;
  }
  Note(Format("Export parameters is completed ,export file is %s!", name));
}

void ConfigPage::OnImport() {
  FileChooserRequest request;
  request.mode = ChooserMode::Open;
  request.filter = kFilter;
  request.defaultExtension = "cfg";
  request.mustExist = true;
  const std::optional<std::string> chosen = chooseFile(request);
  if (!chosen) return;
  m_importPath = *chosen;
  if (Confirm(Format("Are you sure to import the parameters from the file %s？", FileName(m_importPath))) != IDOK)
    return;
  if (std::optional<std::string> note = ReadParameterFile(m_importPath, m_edited)) {
    Note(*note);
    return;
  }
  // Show the file while the current record keeps what the module reported, so that the
  // next Modify sends exactly the differences.
  const ModuleParameters reported = m_current;
  m_current = m_edited;
  CopyAdvancedBlock(m_edited, m_advanced);
  ShowParameters();
  m_current = reported;
  Note("Import parameters complete!");
}

void ConfigPage::OnAdvance() {
  CAdvance dialog(host(), this);
  dialog.m_block = m_advanced;
  if (dialog.runModal() == IDOK) CopyAdvancedBlock(dialog.m_block, m_advanced);
}

// --- Control rules while editing ------------------------------------------------------------

void ConfigPage::OnDhcp() {
  const bool dhcp = isChecked(IDC_CFG_DHCP);
  for (std::uint16_t id : kAddressControls) enable(id, !dhcp);
}

void ConfigPage::OnAutoWorkmode() {
  if (!isChecked(IDC_CFG_AUTO_WORKMODE)) {
    for (std::uint16_t id : kAutoModeControls) enable(id, false);
    return;
  }
  enable(IDC_CFG_PROTOCOL, true);
  enable(IDC_CFG_CS_MODE, true);
  enable(IDC_CFG_PORT, true);
  const bool server = selection(IDC_CFG_CS_MODE) == 1;
  enable(IDC_CFG_SERVER_ADDR, !server);
  enable(IDC_CFG_CONNECT_TIME, server);
}

void ConfigPage::OnCsModeChange() {
  if (selection(IDC_CFG_CS_MODE) == 1) {
    setText(IDC_CFG_SERVER_ADDR, "");
    enable(IDC_CFG_SERVER_ADDR, false);
    enable(IDC_CFG_CONNECT_TIME, true);
  } else {
    enable(IDC_CFG_SERVER_ADDR, true);
    enable(IDC_CFG_CONNECT_TIME, false);
    setText(IDC_CFG_CONNECT_TIME, "");
  }
}

void ConfigPage::OnEncryChange() {
  SetKeyLengthLimit();
  setText(IDC_CFG_KEY, "");
  EnableKeyIndexGroup(false);
  enable(IDC_CFG_KEY_TYPE, true);
  enable(IDC_CFG_KEY, true);
  const int encry = selection(IDC_CFG_ENCRY);
  if (encry == kEncryOpen) {
    enable(IDC_CFG_KEY_TYPE, false);
    enable(IDC_CFG_KEY, false);
  } else if (encry == kEncryWep64 || encry == kEncryWep128) {
    EnableKeyIndexGroup(true);
  }
}

void ConfigPage::OnKeyTypeChange() { SetKeyLengthLimit(); }

void ConfigPage::SetKeyLengthLimit() {
  m_keyLengthLimit = KeyLengthLimit(selection(IDC_CFG_ENCRY), selection(IDC_CFG_KEY_TYPE));
  setTextLimit(IDC_CFG_KEY, m_keyLengthLimit);
}

void ConfigPage::EnableKeyIndexGroup(bool on) {
  for (int id = IDC_CFG_KEY_INDEX_1; id <= IDC_CFG_KEY_INDEX_4; ++id) enable(id, on);
}

}  // namespace tarnwave
