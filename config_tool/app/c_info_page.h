#pragma once
// CInfoPage: the system information page of the main window's page area (dialog 140
// "SystemInfo"). Each time it becomes the active page it asks the current module for
// its address ("QMAC") and version text ("QVER") inside a radio exchange (command
// number 204; nothing on a serial line) and shows the MAC address, hardware version,
// firmware version and release time. A failed query leaves the texts as they were;
// while a firmware update runs the page sends nothing. Either way it reports itself as
// page 3 to the main window.
#include "config_tool/app/main_window_services.h"
#include "platform/ui/property_page.h"

namespace tarnwave {

class ModuleLink;

class CInfoPage : public kit::ui::PropertyPage {
 public:
  CInfoPage(kit::ui::Host& host, MainWindowServices& services);

  static kit::ui::DialogTemplate Template();

  bool OnSetActive() override;

  // Reads the module's identity into the statics (also run by the main window's module
  // switch while this page is active).
  void Refresh();

 private:
  bool UpdateRunning() const;
  ModuleLink* AskLink();

  MainWindowServices& m_services;
};

}  // namespace tarnwave
