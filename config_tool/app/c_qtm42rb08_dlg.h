#pragma once
// CQTM42RB08Dlg: Tarnwave's main window (dialog 102). It owns the one ModuleLink, offers
// the choice of link (serial port and/or radio channel), runs the search, lists the
// modules found, switches between them on a double-click, and hosts the four pages.
// Its settings come from the settings file when it opens and go back when it closes.
//
// Pages ask for the ModuleLink with WM_GET_MODULE_LINK (the result is the ModuleLink*)
// and post WM_SHOW_PAGE to show a page again.
#include <chrono>
#include <functional>
#include <string>

#include "config_tool/app/main_pages.h"
#include "config_tool/app/main_window_services.h"
#include "config_tool/app/mess_note_sink.h"
#include "config_tool/app/user_settings.h"
#include "config_tool/links/module_search.h"
#include "config_tool/protocol/module_link.h"
#include "platform/ui/dialog.h"

namespace tarnwave {

class CQTM42RB08Dlg : public kit::ui::Dialog, public MainWindowServices, private SearchListener {
 public:
  struct Options {
    // The settings file; relative paths are taken from the working directory.
    std::string settingsPath = "./user.ini";
    // The port list ("A;B;"); by default the machine's serial ports.
    std::function<std::string()> listPorts;
    // Whether the radio dongle's device opens; by default it is tried.
    std::function<bool()> probeDongle;
    // Handles the window system's pending events; called while the search waits, so
    // the window keeps painting. Nothing by default.
    std::function<void()> pumpEvents;
  };

  CQTM42RB08Dlg(kit::ui::Host& host, Options options);
  ~CQTM42RB08Dlg() override;

  static kit::ui::DialogTemplate Template();

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnClose() override;
  const kit::ui::MessageMap* messageMap() const override;

  // MainWindowServices
  void ReportPage(int index) override { m_reportedPage = index; }
  int DeviceCount() const override { return static_cast<int>(m_search.rows().size()); }
  int CurrentRow() const override { return m_search.currentRow(); }
  int SwitchToRow(int row) override;
  void Search() override;
  bool ModifyAllChecked() const override { return m_modifyAll; }
  void LockControls(bool lock) override;
  void EnableCloseCommand(bool enable) override { m_closeEnabled = enable; }
  int FirmwareDownloadFlag() const override { return m_settings.firmwareDownload; }
  bool SerialLinkOpen() const override { return m_search.serialLinkOpen(); }
  bool DongleLinkOpen() const override { return m_search.dongleLinkOpen(); }

  ModuleLink& link() { return m_link; }
  const UserSettings& settings() const { return m_settings; }
  // -1 "Close", 0 "Auto", 1 to 14 a channel, -2 when no dongle was found at start.
  int channelChoice() const { return m_channelChoice; }
  bool closeEnabled() const { return m_closeEnabled; }
  int reportedPage() const { return m_reportedPage; }

 private:
  void OnSearch();
  void OnDeviceDoubleClick();
  void OnSerialSet();
  void OnWirelessSet();
  void OnModifyAll();
  void OnPortChange();
  void OnChannelChange();
  std::intptr_t OnGetModuleLink(std::uintptr_t, std::intptr_t);
  std::intptr_t OnShowPage(std::uintptr_t page, std::intptr_t);

  void fillPortBox();
  void setUpList();
  void probeDongle();
  void saveAndEnd(int code);
  bool dongleFoundAtStart() const { return m_channelChoice != kNoDongle; }

  // SearchListener
  void pause(std::chrono::milliseconds duration) override;
  void rowAdded(int index, const DeviceRow& row) override;

  static constexpr int kNoDongle = -2;

  Options m_options;
  UserSettings m_settings;
  MessNoteSink m_notes;
  ModuleLink m_link;
  ModuleSearch m_search;
  MainPages m_pages;
  std::string m_portList;
  int m_channelChoice = -1;
  int m_reportedPage = 0;
  bool m_modifyAll = false;
  bool m_closeEnabled = true;
  bool m_busy = false;  // a search or a switch runs (the window keeps handling events)
};

}  // namespace tarnwave
