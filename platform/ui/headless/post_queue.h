#pragma once
// The queue of posted window messages of a host without a real event loop: any thread
// puts, the window thread takes. Shared by the headless and the drive hosts.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/ui/host.h"

namespace kit::ui {

class PostQueue {
 public:
  // Any thread.
  void put(const PostedMessage& message);
  // The oldest message, or nothing when the queue is empty; never blocks.
  std::optional<PostedMessage> take();
  // Waits up to `timeout` until a message is queued; true when one is (it stays queued).
  bool waitFor(std::chrono::milliseconds timeout);
  // Waits until `deadline` at the latest; true when a message is queued.
  bool waitUntil(std::chrono::steady_clock::time_point deadline);

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<PostedMessage> m_queue;
};

}  // namespace kit::ui
