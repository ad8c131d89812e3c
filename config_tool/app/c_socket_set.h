#pragma once
// CSocketSet (dialog 136 "Socket Setting"): the arguments of socket creation. The record
// handed in only fills the controls; on OK it is rebuilt from them.
#include "config_tool/protocol/network_records.h"
#include "platform/ui/dialog.h"

namespace tarnwave {

class CSocketSet : public kit::ui::Dialog {
 public:
  explicit CSocketSet(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);
  static kit::ui::DialogTemplate Template();

  SocketSetup m_spec;

  bool OnInitDialog() override;
  void OnOK() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnModeChange();
  void ShowMode(bool server);
};

}  // namespace tarnwave
