#pragma once
#include "platform/ui/host.h"

namespace kit::ui {

// Shows the wait cursor for its lifetime.
class WaitCursor {
 public:
  explicit WaitCursor(Host& host) : m_host(host) { m_host.setWaitCursor(true); }
  ~WaitCursor() { m_host.setWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Host& m_host;
};

}  // namespace kit::ui
