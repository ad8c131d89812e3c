#pragma once
// The widgets of one dialog window: built from the dialog's control states, refreshed
// when the dialog reports a change, and turning user input into the dialog's user*
// calls. Widgets never hold state of their own that the dialog does not know.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/qt/dialog_units.h"

namespace kit::ui::qt {

// The window widget itself: keys, the close box and context menus go to the dialog.
class WindowWidget : public QWidget {
 public:
  WindowWidget(Host& host, WindowHandle handle, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  Host& m_host;
  WindowHandle m_handle;
};

class QtWindow {
 public:
  // parentWidget: the parent window's widget for child windows (pages), else null.
  QtWindow(Host& host, Dialog& dialog, QWidget* parentWidget);
  ~QtWindow();
  QtWindow(const QtWindow&) = delete;
  QtWindow& operator=(const QtWindow&) = delete;

  QWidget* widget() const { return m_widget; }
  QWidget* controlWidget(int id) const;
  const DialogUnits& units() const { return m_units; }

  void refresh(int id);
  void refreshWindow();
  void focus(int id);
  void scrollToEnd(int id);

 private:
  QWidget* makeControl(const ControlState& c);
  void place(const ControlState& c, QWidget* w);
  void refreshControl(std::size_t index);
  int indexOf(int id) const;
  // Runs a user action on the dialog (if it still exists) and then shows the control as
  // the dialog now has it, so that refused input disappears again.
  void act(int id, const std::function<void(Dialog&)>& action);

  Host& m_host;
  WindowHandle m_handle;
  QFont m_font;
  DialogUnits m_units;
  QPointer<WindowWidget> m_widget;
  std::vector<QWidget*> m_controls;  // parallel to Dialog::controls()
};

}  // namespace kit::ui::qt
