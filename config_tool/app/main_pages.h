#pragma once
// The pages of the main window's page area, made in one place, and what the main window
// asks of them besides being shown.
#include <functional>
#include <memory>
#include <vector>

#include "config_tool/app/main_window_services.h"
#include "platform/ui/property_page.h"

namespace tarnwave {

struct MainPages {
  // Configuration, function test, firmware update, system information, in this order.
  std::vector<std::unique_ptr<kit::ui::PropertyPage>> pages;
  // The configuration page: empty it (nothing found) or read the module again.
  std::function<void()> clearConfiguration;
  std::function<void()> refreshConfiguration;
  // The system information page reads the module again (when it is the active page).
  std::function<void()> refreshInformation;
};

MainPages MakeMainPages(kit::ui::Host& host, MainWindowServices& main);

}  // namespace tarnwave
