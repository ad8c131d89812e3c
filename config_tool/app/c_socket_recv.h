#pragma once
// CSocketRecv (dialog 139 "Socket Receive"): receives from a socket of the module itself
// ("SKRCV") and shows the bytes as text or in hexadecimal; "Hexadecimal" also converts
// what the display already shows.
#include "platform/ui/dialog.h"

namespace tarnwave {

class ModuleLink;

class CSocketRecv : public kit::ui::Dialog {
 public:
  static constexpr int kMaxCount = 500;

  // link: the console's ModuleLink, not owned (may be null: every reception then fails).
  CSocketRecv(kit::ui::Host& host, ModuleLink* link, kit::ui::Dialog* owner = nullptr);
  static kit::ui::DialogTemplate Template();

  bool OnInitDialog() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnReceive();
  void OnHexadecimal();
  void OnCancelButton() { endDialog(kit::ui::kIdCancel); }

  ModuleLink* m_link;
};

}  // namespace tarnwave
