#pragma once

// TransportSlot: holds the link's current transport.
//
// The window thread uses the transport directly (it is the only one that replaces
// it). The reply worker uses it only inside workerAccess(), so replace() can stop a
// gathering in progress and wait for it before the old transport goes away.

#include <atomic>
#include <memory>
#include <mutex>

#include "config_tool/links/module_transport.h"

namespace tarnwave {

class TransportSlot {
 public:
  ModuleTransport* get() const { return m_transport.get(); }

  // Window thread: puts a new transport (or none) in place.
  void replace(std::unique_ptr<ModuleTransport> transport);

  // Reply worker: runs f with the current transport (nullptr when none) while the
  // transport cannot be replaced.
  template <typename F>
  auto workerAccess(F&& f) {
    std::lock_guard lock(m_workerUse);
    return f(m_transport.get());
  }

  // True while a replacement waits for the worker to let go.
  bool replacing() const { return m_replacing.load(); }

 private:
  std::unique_ptr<ModuleTransport> m_transport;
  std::mutex m_workerUse;
  std::atomic<bool> m_replacing{false};
};

}  // namespace tarnwave
