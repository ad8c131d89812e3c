#include "config_tool/app/main_pages.h"

#include "config_tool/app/c_fw_page.h"
#include "config_tool/app/c_info_page.h"
#include "config_tool/app/c_set_page.h"
#include "config_tool/app/config_page.h"

namespace tarnwave {

MainPages MakeMainPages(kit::ui::Host& host, MainWindowServices& main) {
  MainPages made;
  auto config = std::make_unique<ConfigPage>(host, main);
  auto information = std::make_unique<CInfoPage>(host, main);
  ConfigPage* configPage = config.get();
  CInfoPage* informationPage = information.get();
  made.clearConfiguration = [configPage] { configPage->ClearPage(); };
  made.refreshConfiguration = [configPage] { configPage->Refresh(); };
  // The page reads the module each time it becomes the active page; after a switch it
  // reads the new module.
  made.refreshInformation = [informationPage] {
    if (informationPage->isCreated()) informationPage->Refresh();
  };
  made.pages.push_back(std::move(config));
  made.pages.push_back(std::make_unique<CSetPage>(host, main));
  made.pages.push_back(std::make_unique<CFwPage>(host, main));
  made.pages.push_back(std::move(information));
  return made;
}

}  // namespace tarnwave
