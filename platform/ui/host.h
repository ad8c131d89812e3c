#pragma once
// A Host shows dialogs: HeadlessHost keeps them in memory for tests, QtHost shows them
// as Qt widgets. Dialogs talk to their host only through this interface.
//
// Threads: everything here runs on the window thread (the thread that runs the
// dialogs), except post(), which any thread may call. A Host must outlive every Dialog
// made on it.
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/dialog_template.h"
#include "platform/ui/services.h"

namespace kit::ui {

class Dialog;

using WindowHandle = std::uint32_t;  // 0: no window

struct PostedMessage {
  WindowHandle window = 0;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

class Host {
 public:
  Host() = default;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  virtual ~Host() = default;

  // Creates the dialog's window, runs it until endDialog() and destroys the window.
  // Returns the end code, or -1 when the window could not be made.
  virtual int runModal(Dialog& dialog) = 0;
  // Creates the window of a modeless dialog: a child placed inside parent when the
  // template is a child window, otherwise a top-level window owned by parent (or none).
  virtual bool createWindow(Dialog& dialog, Dialog* parent) = 0;
  virtual void destroyWindow(Dialog& dialog) = 0;
  // Runs the message loop until no top-level modeless window is left.
  virtual void runMessageLoop() = 0;

  // Queues a numbered message for a window; callable from any thread. False when the
  // window no longer exists.
  bool post(const PostedMessage& message);

  virtual bool setTimer(Dialog& dialog, int timerId, std::chrono::milliseconds period) = 0;
  virtual bool killTimer(Dialog& dialog, int timerId) = 0;

  virtual BoxResult messageBox(Dialog* owner, const MessageBoxRequest& request) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> chooseFile(Dialog* owner, const FileChooserRequest& request) = 0;
  // Shows a pop-up menu at a point of the owner (dialog units); the chosen command or 0.
  virtual int popupMenu(Dialog& owner, const std::vector<MenuItem>& items, Point at) = 0;
  virtual void setWaitCursor(bool on) = 0;

  // Notifications from a Dialog whose state changed; hosts with a view update it.
  virtual void controlChanged(Dialog& /*dialog*/, int /*controlId*/) {}
  virtual void windowChanged(Dialog& /*dialog*/) {}
  virtual void focusChanged(Dialog& /*dialog*/, int /*controlId*/) {}
  virtual void modalEnded(Dialog& /*dialog*/) {}
  virtual void scrollToEnd(Dialog& /*dialog*/, int /*controlId*/) {}

  // Pixels of a rectangle in the dialog's units. The headless host uses base units of 6
  // by 13 pixels (an 8-point dialog font); the Qt host measures the dialog font.
  virtual Rect toPixels(const Dialog& dialog, Rect units) const;

  // Window registry; Dialog registers itself for its whole life.
  WindowHandle attach(Dialog& dialog);
  void detach(WindowHandle handle);
  Dialog* find(WindowHandle handle) const;

 protected:
  // Hands a queued message to its window (window thread). False when the window is gone.
  bool deliver(const PostedMessage& message);
  // Stores a message for the window thread; called with the registry checked.
  virtual void enqueue(const PostedMessage& message) = 0;

 private:
  mutable std::mutex m_registryMutex;
  std::map<WindowHandle, Dialog*> m_windows;
  WindowHandle m_nextHandle = 1;
};

}  // namespace kit::ui
