#pragma once
// CScan (dialog 159): the small progress window shown while a scan runs. Its thread
// moves the bar to 0, 1, ... 10, one step every 200 ms, then asks the window to close,
// which ends the modal run. Closing it earlier stops the thread.
#include <chrono>

#include "platform/sync/event.h"
#include "platform/sync/thread.h"
#include "platform/ui/dialog.h"

namespace tarnwave {

class CScan : public kit::ui::Dialog {
 public:
  explicit CScan(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr,
                 std::chrono::milliseconds step = std::chrono::milliseconds(200));
  ~CScan() override;
  static kit::ui::DialogTemplate Template();

  bool OnInitDialog() override;
  void OnCancel() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  std::intptr_t OnStep(std::uintptr_t value, std::intptr_t);
  void StopThread();

  std::chrono::milliseconds m_step;
  kit::Event m_stop{kit::EventReset::Manual};
  kit::Thread m_thread;
};

}  // namespace tarnwave
