#pragma once
// QtHost: shows the kit's dialogs as Qt widgets (Qt 6 Widgets). Dialog units are mapped
// to pixels through the metrics of the dialog's font; modal runs are nested Qt event
// loops; posts from other threads are queued to the window thread through Qt's event
// queue. Without a display it runs on Qt's offscreen platform, where windows can still
// be saved as PNG.
//
// The host creates the process's QApplication when there is none and leaves it alive for
// the rest of the process. Construct it on the thread that will run the windows.
#include <memory>
#include <string>

#include "platform/ui/host.h"

class QWidget;

namespace kit::ui {

class QtHost : public Host {
 public:
  QtHost();
  ~QtHost() override;

  int runModal(Dialog& dialog) override;
  bool createWindow(Dialog& dialog, Dialog* parent) override;
  void destroyWindow(Dialog& dialog) override;
  void runMessageLoop() override;
  bool setTimer(Dialog& dialog, int timerId, std::chrono::milliseconds period) override;
  bool killTimer(Dialog& dialog, int timerId) override;
  BoxResult messageBox(Dialog* owner, const MessageBoxRequest& request) override;
  std::optional<std::string> chooseFile(Dialog* owner, const FileChooserRequest& request) override;
  int popupMenu(Dialog& owner, const std::vector<MenuItem>& items, Point at) override;
  void setWaitCursor(bool on) override;

  void controlChanged(Dialog& dialog, int controlId) override;
  void windowChanged(Dialog& dialog) override;
  void focusChanged(Dialog& dialog, int controlId) override;
  void modalEnded(Dialog& dialog) override;
  void scrollToEnd(Dialog& dialog, int controlId) override;
  Rect toPixels(const Dialog& dialog, Rect units) const override;

  // Saves the window of a created dialog as PNG, with a title bar showing its caption
  // for top-level windows. False when the dialog has no window or the file cannot be
  // written.
  bool saveScreenshot(const Dialog& dialog, const std::string& path);
  // Saves the message box messageBox() would show for this request as PNG, without
  // waiting for an answer. False when the file cannot be written.
  bool saveBoxScreenshot(const MessageBoxRequest& request, const std::string& path);
  // Whether a font family is installed (Qt silently substitutes missing ones).
  static bool fontResolves(const std::string& family);
  // Handles pending Qt events, including queued posts and due timers.
  void processEvents();

  // The widget showing a control, or the window itself for controlId 0 (tests).
  QWidget* widgetFor(const Dialog& dialog, int controlId) const;

 protected:
  void enqueue(const PostedMessage& message) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> m;
};

}  // namespace kit::ui
