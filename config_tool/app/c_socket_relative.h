#pragma once
// CSocketRelative (dialog 137 "Socket Relevance"): chooses a socket number, 1 to 256.
#include <string>

#include "platform/ui/dialog.h"

namespace tarnwave {

class CSocketRelative : public kit::ui::Dialog {
 public:
  explicit CSocketRelative(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);
  static kit::ui::DialogTemplate Template();

  int m_socket = 1;

  bool OnInitDialog() override;
  void OnOK() override;
};

// A socket number box read as the dialogs read it: a decimal number, 1 to 256, or 0.
int ReadSocketNumber(const std::string& text);

}  // namespace tarnwave
