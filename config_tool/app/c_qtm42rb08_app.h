#pragma once
// CQTM42RB08App: Tarnwave's application object. It shows the one main window modally
// and the program ends when that window closes.
#include "config_tool/app/c_qtm42rb08_dlg.h"

namespace tarnwave {

class CQTM42RB08App {
 public:
  CQTM42RB08App(kit::ui::Host& host, CQTM42RB08Dlg::Options options);

  // Runs the main window; the end code of the window, or -1 when it could not be shown.
  int InitInstance();

 private:
  kit::ui::Host& m_host;
  CQTM42RB08Dlg::Options m_options;
};

}  // namespace tarnwave
