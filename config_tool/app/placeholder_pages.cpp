#include "config_tool/app/placeholder_pages.h"

#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

namespace {

DialogTemplate PageTemplate(int id, const char* caption) {
  DialogTemplate t;
  t.id = id;
  t.caption = caption;
  t.width = 340;
  t.height = 286;
  t.flags = kChildWindow;
  return t;
}

}  // namespace

CSetPage::CSetPage(Host& host, MainWindowServices& main)
    : PropertyPage(host, PageTemplate(133, "FuncTest")), m_main(main) {}

CFwPage::CFwPage(Host& host, MainWindowServices& main)
    : PropertyPage(host, PageTemplate(134, "UpdateFw")), m_main(main) {}

bool CFwPage::OnSetActive() {
  m_main.ReportPage(kFirmwarePageIndex);
  return true;
}

CInfoPage::CInfoPage(Host& host, MainWindowServices& main)
    : PropertyPage(host, PageTemplate(140, "SystemInfo")), m_main(main) {}

bool CInfoPage::OnSetActive() {
  m_main.ReportPage(kInformationPageIndex);
  return true;
}

}  // namespace tarnwave
