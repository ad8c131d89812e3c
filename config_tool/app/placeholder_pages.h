#pragma once
// The pages of the main window's page area whose own windows are not built yet: each
// is the page of its dialog number with its caption and no controls. They report to the
// main window when they become the current page, as the finished pages do.
#include "config_tool/app/main_window_services.h"
#include "platform/ui/property_page.h"

namespace tarnwave {

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
