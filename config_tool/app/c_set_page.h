#pragma once
// CSetPage: the function test console of the main window's page area (dialog 133
// "FuncTest"). Each button runs one network or socket command through the main
// window's ModuleLink and appends what happened to the output log; the command box
// sends any request typed by hand. The socket buttons collect their arguments in the
// socket dialogs. The page keeps nothing of the module but the last socket settings.
#include <chrono>
#include <string>

#include "config_tool/app/main_window_services.h"
#include "config_tool/protocol/network_records.h"
#include "platform/sync/clock.h"
#include "platform/ui/property_page.h"

namespace tarnwave {

class ModuleLink;

class CSetPage : public kit::ui::PropertyPage {
 public:
  // clock: the pauses of "Reset" and of the hand-typed command's reads. scanStep: the
  // progress window's step.
  CSetPage(kit::ui::Host& host, MainWindowServices& services, kit::Clock& clock = kit::SystemClock::instance(),
           std::chrono::milliseconds scanStep = std::chrono::milliseconds(200));

  static kit::ui::DialogTemplate Template();

  // Appends to the output log, shows the whole log and scrolls to its end.
  void AppendOutput(const std::string& text);
  const std::string& OutputLog() const { return m_log; }
  const SocketSetup& SavedSocketSettings() const { return m_socketSettings; }

  bool OnInitDialog() override;
  bool OnSetActive() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnConnect();
  void OnDisconnect();
  void OnScan();
  void OnStatus();
  void OnReset();
  void OnCreate();
  void OnQuery();
  void OnClose();
  void OnSend();
  void OnReceive();
  void OnCommand();
  void OnClear();
  void OnContextMenu(const kit::ui::Event& event);
  void AppendFailure(const char* sentence, int code);

  MainWindowServices& m_services;
  kit::Clock& m_clock;
  std::chrono::milliseconds m_scanStep;
  ModuleLink* m_link = nullptr;
  std::string m_log;
  SocketSetup m_socketSettings;
};

}  // namespace tarnwave
