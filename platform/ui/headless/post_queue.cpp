#include "platform/ui/headless/post_queue.h"

namespace kit::ui {

void PostQueue::put(const PostedMessage& message) {
  {
    std::lock_guard lock(m_mutex);
    m_queue.push_back(message);
  }
  m_changed.notify_all();
}

std::optional<PostedMessage> PostQueue::take() {
  std::lock_guard lock(m_mutex);
  if (m_queue.empty()) return std::nullopt;
  PostedMessage m = m_queue.front();
  m_queue.pop_front();
  return m;
}

bool PostQueue::waitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, timeout, [&] { return !m_queue.empty(); });
}

bool PostQueue::waitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_until(lock, deadline, [&] { return !m_queue.empty(); });
}

}  // namespace kit::ui
