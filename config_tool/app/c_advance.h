#pragma once
// CAdvance: the advanced settings dialog (130). It edits a copy of the advanced block of
// the module parameter record (wireless details, serial line, transparent-mode framing,
// web server, GPIO1 and command modes, wireless password); the configuration page fills
// m_block before runModal() and takes it back when the result is IDOK. Nothing reaches
// the module from here.
//
// "OK" first moves the focus to itself: pressed (Enter) while one of the three framing
// edits has the focus, it only synchronises that edit's slider; otherwise it rebuilds
// m_block from the controls, and the first refused value shows its note and keeps the
// dialog open. "Cancel" (1001), Escape and the close box end it with IDCANCEL.
#include "config_tool/protocol/parameter_record.h"
#include "platform/ui/dialog.h"

namespace tarnwave {

class CAdvance : public kit::ui::Dialog {
 public:
  explicit CAdvance(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);

  static kit::ui::DialogTemplate Template();

  // The copy of the advanced block (only its advanced fields are used).
  ModuleParameters m_block;

  bool OnInitDialog() override;
  void OnOK() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnNetModeChange();
  void OnBgModeChange();
  void OnWebClick();
  void OnBssidModeChange();
  void OnChannelModeChange();
  void OnRetryModeChange();
  void OnSlider(const kit::ui::Event& event);
  void OnFramingKillFocus(const kit::ui::Event& event);
  void OnCancelButton();

  void FillRates(int bgMode);
  // The list's index, or `kept` when nothing is selected.
  int ListValue(int id, int kept) const;
  bool Refuse(const char* note, int focus = 0);
  bool Rebuild();

  ModuleParameters m_opened;  // the copy as the dialog was opened
};

}  // namespace tarnwave
