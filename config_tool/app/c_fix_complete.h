#pragma once
// CFixComplete: after a successful Modify, asks whether the module is reset now.
// Result 1 "Reset Now", 2 "Reset Later" (or the close box).
#include "platform/ui/dialog.h"

namespace tarnwave {

class CFixComplete : public kit::ui::Dialog {
 public:
  explicit CFixComplete(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);
  static kit::ui::DialogTemplate Template();
};

}  // namespace tarnwave
