#pragma once
// CMess: the one message box of the configuration tool. Mode 0 is a note (one "OK" in
// the middle), mode 1 a confirmation ("OK" and "Cancel"). The result is 1 for either
// "OK" and 2 for "Cancel" or the close box.
#include <string>

#include "platform/ui/dialog.h"

namespace tarnwave {

class CMess : public kit::ui::Dialog {
 public:
  explicit CMess(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);

  static kit::ui::DialogTemplate Template();

  // Runs a note or a confirmation and returns the result.
  static int Note(kit::ui::Host& host, kit::ui::Dialog* owner, std::string text);
  static int Confirm(kit::ui::Host& host, kit::ui::Dialog* owner, std::string text);

  std::string m_text;  // empty at construction
  int m_mode = 0;      // 0 note, 1 confirmation

  bool OnInitDialog() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnMiddleOk();
};

}  // namespace tarnwave
