#pragma once
// CSocketSend (dialog 138 "Socket Send"): the socket number and the data to send, typed
// as text or as hexadecimal digit pairs. "Send" ends the dialog with 1, "Cancel" with 0.
#include <array>
#include <cstdint>

#include "platform/ui/dialog.h"

namespace tarnwave {

class CSocketSend : public kit::ui::Dialog {
 public:
  static constexpr std::size_t kBufferSize = 512;
  static constexpr std::size_t kMaxTextBytes = 500;

  explicit CSocketSend(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);
  static kit::ui::DialogTemplate Template();

  int m_socket = 1;
  std::array<std::uint8_t, kBufferSize> m_data{};
  std::size_t m_count = 0;

  bool OnInitDialog() override;
  void OnCancel() override { endDialog(0); }
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnSend();
};

}  // namespace tarnwave
