#include "platform/ui/host.h"

#include "platform/ui/dialog.h"

namespace kit::ui {

bool Host::post(const PostedMessage& message) {
  {
    std::lock_guard lock(m_registryMutex);
    if (m_windows.find(message.window) == m_windows.end()) return false;
  }
  enqueue(message);
  return true;
}

WindowHandle Host::attach(Dialog& dialog) {
  std::lock_guard lock(m_registryMutex);
  const WindowHandle handle = m_nextHandle++;
  m_windows[handle] = &dialog;
  return handle;
}

void Host::detach(WindowHandle handle) {
  std::lock_guard lock(m_registryMutex);
  m_windows.erase(handle);
}

Dialog* Host::find(WindowHandle handle) const {
  std::lock_guard lock(m_registryMutex);
  auto it = m_windows.find(handle);
  return it == m_windows.end() ? nullptr : it->second;
}

Rect Host::toPixels(const Dialog& /*dialog*/, Rect u) const {
  return Rect{u.x * 6 / 4, u.y * 13 / 8, u.width * 6 / 4, u.height * 13 / 8};
}

bool Host::deliver(const PostedMessage& message) {
  Dialog* dialog = find(message.window);
  if (!dialog) return false;  // the window went away while the message waited
  dialog->send(message.message, message.wParam, message.lParam);
  return true;
}

}  // namespace kit::ui
