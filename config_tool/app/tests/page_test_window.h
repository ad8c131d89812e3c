#pragma once
// A small main window for the configuration page's tests: a page area holding a
// ConfigPage, the ModuleLink the page asks for with WM_GET_MODULE_LINK, and a device list
// of virtual modules on pseudo-terminals that SwitchToRow() moves the link between.
#include <memory>
#include <string>
#include <vector>

#include "config_tool/app/config_page.h"
#include "config_tool/app/main_window_services.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/module_link.h"
#include "platform/ui/dialog.h"
#include "platform/ui/headless/headless_host.h"
#include "sim/module/serial_module_server.h"

namespace tarnwave::testing {

inline constexpr int kTestMainWindowId = 102;
inline constexpr std::uint16_t kTestPageArea = 1200;

class PageTestWindow : public kit::ui::Dialog, public MainWindowServices {
 public:
  // `modules` virtual modules (echo off) form the device list; row 0 is the current one.
  PageTestWindow(kit::ui::Host& host, int modules)
      : Dialog(host, Template()), page(host, *this) {
    for (int i = 0; i < modules; ++i) {
      devices.push_back(std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(40 + i),
                                                                     kitsim::ModuleFaults{}, false));
      devices.back()->start();
    }
  }

  static kit::ui::DialogTemplate Template() {
    kit::ui::DialogTemplate t;
    t.id = kTestMainWindowId;
    t.caption = "Test main window";
    t.width = 310;
    t.height = 300;
    t.controls = {kit::ui::Control(kTestPageArea, kit::ui::ControlKind::PageArea, {5, 5, 300, 290})};
    return t;
  }

  bool OnInitDialog() override {
    if (!devices.empty()) SwitchToRow(0);
    addPage(kTestPageArea, page, "Configuration");
    setActivePage(kTestPageArea, 0);
    return true;
  }

  const kit::ui::MessageMap* messageMap() const override {
    static const kit::ui::MessageMap map =
        kit::ui::MessageMapBuilder<PageTestWindow>().onMessage(WM_GET_MODULE_LINK, &PageTestWindow::OnGetLink).build();
    return &map;
  }

  // --- MainWindowServices ---
  void ReportPage(int index) override { reportedPages.push_back(index); }
  int DeviceCount() const override { return static_cast<int>(devices.size()); }
  int CurrentRow() const override { return currentRow; }
  int SwitchToRow(int row) override {
    switches.push_back(row);
    link.close();
    if (row < 0 || row >= DeviceCount() || link.openSerial(devices[static_cast<std::size_t>(row)]->portPath(), {}) != 0)
      return 255;
    if (!link.workerRunning() && link.startWorker() != 0) return 255;
    return 0;
  }
  void Search() override {
    ++searches;
    SwitchToRow(currentRow);
  }
  bool ModifyAllChecked() const override { return modifyAll; }
  void LockControls(bool) override {}
  void EnableCloseCommand(bool) override {}
  int FirmwareDownloadFlag() const override { return 0; }
  bool SerialLinkOpen() const override { return link.isOpen(); }
  bool DongleLinkOpen() const override { return false; }

  // The requests module `row` received since the last call for that row.
  std::vector<std::string> newRequests(std::size_t row) {
    std::vector<std::string> all = devices[row]->requests();
    if (seen.size() <= row) seen.resize(row + 1, 0);
    std::vector<std::string> fresh(all.begin() + static_cast<long>(seen[row]), all.end());
    seen[row] = all.size();
    return fresh;
  }

  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> devices;
  ModuleLink link;
  ConfigPage page;
  int currentRow = 0;
  bool modifyAll = false;
  int searches = 0;
  std::vector<int> switches;
  std::vector<int> reportedPages;
  std::vector<std::size_t> seen;

 private:
  std::intptr_t OnGetLink(std::uintptr_t, std::intptr_t) { return reinterpret_cast<std::intptr_t>(&link); }
};

// Runs `body` while the test main window is open on `host`, then closes it.
template <typename Body>
void RunWithPage(kit::ui::HeadlessHost& host, PageTestWindow& window, Body body) {
  host.onModal(kTestMainWindowId, [&](kit::ui::ModalScript& s) {
    body();
    s.dialog.endDialog(1);
  });
  window.runModal();
}

// Notes and confirmations are answered with "OK" (confirmations: `confirm`); the texts
// shown are recorded in the host.
inline void AnswerMess(kit::ui::HeadlessHost& host, const bool& confirm) {
  host.onModal(IDD_MESS, [&confirm](kit::ui::ModalScript& s) {
    if (s.dialog.isVisible(IDC_MESS_OK_MIDDLE)) s.dialog.userClick(IDC_MESS_OK_MIDDLE);
    else s.dialog.userClick(confirm ? IDOK : IDCANCEL);
  });
}

inline std::vector<std::string> Notes(const kit::ui::HeadlessHost& host) {
  std::vector<std::string> texts;
  for (const kit::ui::ModalRecord& r : host.modalsOf(IDD_MESS)) texts.push_back(r.text());
  return texts;
}

}  // namespace tarnwave::testing
