#pragma once
// The four pages of the main window's page area until their own windows are built: each
// is the page of its dialog number with its caption and no controls. They report to the
// main window when they become the current page, as the finished pages do.
#include "config_tool/app/main_window_services.h"
#include "platform/ui/property_page.h"

namespace tarnwave {

class ConfigPage : public kit::ui::PropertyPage {
 public:
  ConfigPage(kit::ui::Host& host, MainWindowServices& main);
  bool OnSetActive() override;
  // The search empties the page when it found nothing and refreshes it when it reached a
  // module that runs its main programme; the page has nothing to show yet.
  void ClearPage() {}
  void Refresh() {}

 private:
  MainWindowServices& m_main;
};

class CSetPage : public kit::ui::PropertyPage {
 public:
  CSetPage(kit::ui::Host& host, MainWindowServices& main);

 private:
  MainWindowServices& m_main;
};

class CFwPage : public kit::ui::PropertyPage {
 public:
  CFwPage(kit::ui::Host& host, MainWindowServices& main);
  bool OnSetActive() override;

 private:
  MainWindowServices& m_main;
};

class CInfoPage : public kit::ui::PropertyPage {
 public:
  CInfoPage(kit::ui::Host& host, MainWindowServices& main);
  bool OnSetActive() override;

 private:
  MainWindowServices& m_main;
};

}  // namespace tarnwave
