#include "config_tool/app/c_qtm42rb08_app.h"

#include <utility>

namespace tarnwave {

CQTM42RB08App::CQTM42RB08App(kit::ui::Host& host, CQTM42RB08Dlg::Options options)
    : m_host(host), m_options(std::move(options)) {}

int CQTM42RB08App::InitInstance() {
  CQTM42RB08Dlg window(m_host, m_options);
  return window.runModal();
}

}  // namespace tarnwave
