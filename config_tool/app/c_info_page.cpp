#include "config_tool/app/c_info_page.h"

#include <string>

#include "config_tool/app/c_fw_page.h"
#include "config_tool/app/module_version.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave {

using namespace kit::ui;

namespace {
constexpr int kInfoExchange = 204;
constexpr int kInfoPageIndex = 3;
}  // namespace

CInfoPage::CInfoPage(Host& host, MainWindowServices& services) : PropertyPage(host, Template()), m_services(services) {}

DialogTemplate CInfoPage::Template() {
  DialogTemplate t;
  t.id = IDD_INFO_PAGE;
  t.caption = "SystemInfo";
  t.width = 300;
  t.height = 214;
  t.flags = kChildWindow;
  t.controls = {
      Label(kNoId, "MAC Address:", {30, 40, 90, 10}),
      Label(IDC_INFO_MAC, "", {130, 40, 140, 10}),
      Label(kNoId, "Hardware Version:", {30, 70, 90, 10}),
      Label(IDC_INFO_HARDWARE, "", {130, 70, 140, 10}),
      Label(kNoId, "Firmware Version:", {30, 100, 90, 10}),
      Label(IDC_INFO_FIRMWARE, "", {130, 100, 140, 10}),
      Label(kNoId, "Release Time:", {30, 130, 90, 10}),
      Label(IDC_INFO_RELEASE, "", {130, 130, 140, 10}),
  };
  return t;
}

bool CInfoPage::OnSetActive() {
  Refresh();
  m_services.ReportPage(kInfoPageIndex);
  return true;
}

ModuleLink* CInfoPage::AskLink() {
  Dialog* parent = parentWindow();
  if (parent == nullptr) return nullptr;
  return reinterpret_cast<ModuleLink*>(parent->send(WM_GET_MODULE_LINK));
}

// The firmware page of the same page area holds the lock while its update runs.
bool CInfoPage::UpdateRunning() const {
  const Dialog* parent = parentWindow();
  if (parent == nullptr) return false;
  for (const ControlState& control : parent->controls()) {
    if (control.kind != ControlKind::PageArea) continue;
    for (const PageEntry& entry : control.pages)
      if (const auto* firmware = dynamic_cast<const CFwPage*>(entry.page); firmware && firmware->PageLocked())
        return true;
  }
  return false;
}

void CInfoPage::Refresh() {
  if (UpdateRunning()) return;
  ModuleLink* link = AskLink();
  if (link == nullptr || link->transport() == nullptr) return;
  if (!link->transport()->openExchange(kInfoExchange)) return;
  std::uint8_t address[6] = {};
  if (link->moduleAddress(address) == kResultOk) {
    setText(IDC_INFO_MAC, FormatModuleAddress(address));
    std::string text;
    if (link->firmwareVersion(text) == kResultOk) {
      const ModuleVersion version = SplitVersionText(text);
      setText(IDC_INFO_HARDWARE, version.hardware);
      setText(IDC_INFO_FIRMWARE, version.firmware);
      setText(IDC_INFO_RELEASE, version.releaseTime);
    }
  }
  (void)link->transport()->closeExchange();
}

}  // namespace tarnwave
