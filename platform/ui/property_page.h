#pragma once
// A page of a page area (property sheet): a child dialog that is told when it becomes
// the active page and may refuse to be left.
#include "platform/ui/dialog.h"

namespace kit::ui {

class PropertyPage : public Dialog {
 public:
  PropertyPage(Host& host, DialogTemplate dialogTemplate);

  // Called after the page was shown as the active page; false takes it back.
  virtual bool OnSetActive() { return true; }
  // Called before another page is shown; false keeps this page active.
  virtual bool OnKillActive() { return true; }
  // Escape or Cancel inside a page does not end it.
  void OnCancel() override {}
  void OnOK() override {}
};

}  // namespace kit::ui
