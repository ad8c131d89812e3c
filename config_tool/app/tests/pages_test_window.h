#pragma once
// A small main window for page tests: a page area with four slots (the real pages at
// the indexes the main window gives them), the main window's answers to messages 1025
// and 1125, the MainWindowServices a page uses, and a real ModuleLink over a
// pseudo-terminal to a virtual module.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "config_tool/app/main_window_services.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/module_link.h"
#include "platform/ui/headless/headless_host.h"
#include "platform/ui/property_page.h"
#include "sim/module/serial_module_server.h"

namespace tarnwave::testing {

class PagesTestWindow : public kit::ui::Dialog, public MainWindowServices {
 public:
  static constexpr std::uint16_t kArea = 1101;

  explicit PagesTestWindow(kit::ui::Host& host) : Dialog(host, Template()) {
    for (auto& blank : m_blanks) blank = std::make_unique<kit::ui::PropertyPage>(host, BlankPage());
  }
  ~PagesTestWindow() override { destroyWindow(); }

  static kit::ui::DialogTemplate Template() {
    kit::ui::DialogTemplate t;
    t.id = 102;
    t.caption = "Page test";
    t.width = 520;
    t.height = 240;
    t.controls = {kit::ui::Control(kArea, kit::ui::ControlKind::PageArea, {215, 0, 305, 240})};
    return t;
  }
  static kit::ui::DialogTemplate BlankPage() {
    kit::ui::DialogTemplate t;
    t.id = 900;
    t.width = 300;
    t.height = 214;
    t.flags = kit::ui::kChildWindow;
    return t;
  }

  // Puts `page` at `index` (2 firmware, 3 information, 1 function test) and creates the
  // window with the first page active.
  void open(kit::ui::PropertyPage& page, int index) {
    place(page, index);
    ASSERT_TRUE(create(nullptr));
  }
  // Several real pages: place each, then create().
  void place(kit::ui::PropertyPage& page, int index) {
    if (m_pages[0] == nullptr)
      for (std::size_t i = 0; i < m_pages.size(); ++i) m_pages[i] = m_blanks[i].get();
    m_pages[static_cast<std::size_t>(index)] = &page;
  }

  bool OnInitDialog() override {
    for (std::size_t i = 0; i < m_pages.size(); ++i) addPage(kArea, *m_pages[i], "page " + std::to_string(i));
    return setActivePage(kArea, 0);
  }

  // Starts a virtual module (echo off, as the search leaves it) and opens the link.
  void startModule(kitsim::ModuleFaults faults = {}) {
    link.close();
    module = std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(5), faults, false);
    ASSERT_TRUE(module->start());
    ASSERT_EQ(link.openSerial(module->portPath(), {}), 0);
    ASSERT_EQ(link.startWorker(), 0);
  }

  // Pumps posted messages until `done` holds or `limit` passes.
  bool pumpUntil(kit::ui::HeadlessHost& host, const std::function<bool()>& done,
                 std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      host.waitForPosted(std::chrono::milliseconds(50));
    }
    return true;
  }

  // --- MainWindowServices ---------------------------------------------------------------
  void ReportPage(int index) override {
    reportedPage = index;
    reports.push_back(index);
  }
  int DeviceCount() const override { return 1; }
  int CurrentRow() const override { return 0; }
  int SwitchToRow(int) override { return 0; }
  void Search() override {}
  bool ModifyAllChecked() const override { return false; }
  void LockControls(bool lock) override { locks.push_back(lock); }
  void EnableCloseCommand(bool enable) override { closeCommand.push_back(enable); }
  int FirmwareDownloadFlag() const override { return firmwareDownload; }
  bool SerialLinkOpen() const override { return serialOpen; }
  bool DongleLinkOpen() const override { return dongleOpen; }

  const kit::ui::MessageMap* messageMap() const override {
    static const kit::ui::MessageMap map = kit::ui::MessageMapBuilder<PagesTestWindow>()
                                               .onMessage(WM_GET_MODULE_LINK, &PagesTestWindow::OnGetLink)
                                               .onMessage(WM_SHOW_PAGE, &PagesTestWindow::OnShowPage)
                                               .build();
    return &map;
  }

  ModuleLink link;
  std::unique_ptr<kitsim::SerialModuleServer> module;
  int reportedPage = 0;
  std::vector<int> reports;
  std::vector<bool> locks;
  std::vector<bool> closeCommand;
  int firmwareDownload = 0;
  bool serialOpen = true;
  bool dongleOpen = false;

 private:
  std::intptr_t OnGetLink(std::uintptr_t, std::intptr_t) { return reinterpret_cast<std::intptr_t>(&link); }
  std::intptr_t OnShowPage(std::uintptr_t page, std::intptr_t) {
    setActivePage(kArea, page == 2 ? 2 : reportedPage);
    return 0;
  }

  std::array<std::unique_ptr<kit::ui::PropertyPage>, 4> m_blanks;
  std::array<kit::ui::PropertyPage*, 4> m_pages{};
};

}  // namespace tarnwave::testing
