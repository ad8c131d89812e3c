#pragma once
// Dialog: one window built from a DialogTemplate, with its controls' state, its message
// map and the virtual operations a dialog class overrides (OnInitDialog, OnOK, ...).
//
// Life: construct with the host; runModal() creates the window from the template, calls
// OnInitDialog() and runs until endDialog(code); create() makes a modeless window (a
// page inside a parent, or a top-level form). Control state is rebuilt from the template
// each time the window is created, so a dialog shows its members in OnInitDialog.
//
// Programmatic changes (setText, setSelection, setCheck, ...) raise no events; the
// user* functions stand for the user and raise the events a real user would (hosts call
// them from their widgets, tests call them directly). All functions run on the window
// thread, except post().
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/control_state.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/event.h"
#include "platform/ui/host.h"
#include "platform/ui/message_map.h"
#include "platform/ui/services.h"

namespace kit::ui {

class PropertyPage;

// Keys a dialog handles itself. Enter presses the focused push button, elsewhere the
// default button (in a modal dialog without one: OK; a multi-line edit keeps it as a
// line break); Escape is Cancel in a modal dialog and nothing in a form; a page hands
// both to its window. Space presses the focused button; Tab moves the focus to the next
// tab stop. A disabled or hidden button is never pressed by a key.
enum class Key { Enter, Escape, Space, Tab };

struct SystemMenuItem {
  int command = 0;  // 0: separator
  std::string text;
};

class Dialog {
 public:
  Dialog(Host& host, DialogTemplate dialogTemplate, Dialog* owner = nullptr);
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  // --- Running -----------------------------------------------------------------------
  int runModal();                       // end code; -1 when the window could not be made
  bool create(Dialog* parent = nullptr);  // modeless; see Host::createWindow
  void destroyWindow();
  // Ends a modal run with `code`. A modeless window only records the code: forms close
  // with destroyWindow() (so the default Escape and close box leave a form open).
  void endDialog(int code);

  bool isCreated() const { return m_created; }
  bool isEnded() const { return m_ended; }
  int endCode() const { return m_endCode; }
  int id() const { return m_template.id; }
  const DialogTemplate& dialogTemplate() const { return m_template; }
  Host& host() const { return m_host; }
  Dialog* owner() const { return m_owner; }
  Dialog* parentWindow() const { return m_parentWindow; }
  WindowHandle handle() const { return m_handle; }

  // --- Overridables ------------------------------------------------------------------
  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { endDialog(kIdOk); }
  virtual void OnCancel() { endDialog(kIdCancel); }
  virtual void OnClose() { OnCancel(); }
  virtual const MessageMap* messageMap() const { return nullptr; }

  // --- Window ------------------------------------------------------------------------
  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption);
  Point position() const { return m_position; }  // in the parent's dialog units
  void moveTo(Point position);
  void showWindow(bool show);
  bool isWindowShown() const { return m_shown; }
  void enableWindow(bool enable);
  bool isWindowEnabled() const { return m_windowEnabled; }
  void setWhiteBackground(bool white);
  bool whiteBackground() const { return m_whiteBackground; }
  void addSystemMenuItem(int command, std::string text);  // a separator goes before it
  const std::vector<SystemMenuItem>& systemMenu() const { return m_systemMenu; }

  // --- Controls ----------------------------------------------------------------------
  const ControlState* control(int id) const;
  std::vector<int> controlIds() const;  // template order; unnamed controls excluded
  const std::vector<ControlState>& controls() const { return m_controls; }
  const ControlState* controlByName(const std::string& name) const;

  std::string text(int id) const;
  bool setText(int id, std::string text);
  bool enable(int id, bool enable);
  bool isEnabled(int id) const;
  bool show(int id, bool show);
  bool isVisible(int id) const;
  bool setReadOnly(int id, bool readOnly);
  bool setCheck(int id, bool checked);
  bool isChecked(int id) const;
  // Ticks `id` and clears the other radio buttons first..last.
  bool checkRadioButton(int first, int last, int id);
  int checkedRadioButton(int first, int last) const;  // 0 when none
  bool setTextLimit(int id, int limit);
  bool setFont(int id, Font font);
  bool setTooltip(int id, std::string text);
  bool setControlBackground(int id, bool white);
  // Moves the focus like the system's SetFocus: the kill-focus and set-focus events are
  // raised (the one exception to "programmatic changes raise no events").
  bool setFocus(int id);
  int focusedControl() const { return m_focus; }
  // Moves or resizes a control (dialog units); its rectangle in dialog units and pixels.
  bool setControlRect(int id, Rect rect);
  Rect controlRect(int id) const;
  Rect controlPixels(int id) const;
  // Scrolls a multi-line edit or list to its end.
  bool scrollToEnd(int id);

  // Lists: list box, drop-down list, editable drop-down.
  int addItem(int id, std::string text);  // index, or -1; sorted lists insert in order
  int insertItem(int id, int index, std::string text);
  bool deleteItem(int id, int index);
  bool clearItems(int id);
  int itemCount(int id) const;
  std::string itemText(int id, int index) const;
  int findItemExact(int id, const std::string& text) const;  // -1 when absent
  // Selects an entry (its text becomes the control's text); -1 clears. False for an
  // index out of range, which leaves the selection as it was.
  bool setSelection(int id, int index);
  int selection(int id) const;  // -1 none; for list views the selected row

  // Slider and progress bar.
  bool setRange(int id, int low, int high);
  bool setPosition(int id, int position);  // clamped into the range
  int position(int id) const;

  // List view.
  bool setColumns(int id, std::vector<ListColumn> columns);
  int insertRow(int id, int index, std::vector<std::string> cells, int icon = -1);
  bool setCell(int id, int row, int column, std::string text);
  std::string cellText(int id, int row, int column) const;
  int rowCount(int id) const;
  bool clearRows(int id);

  // IP address control: host-order address; the text shows it dotted, "" is blank.
  bool setAddress(int id, std::uint32_t address);
  bool clearAddress(int id);
  std::optional<std::uint32_t> address(int id) const;

  // Page area (property sheet). Pages are created when first activated.
  int addPage(int areaId, PropertyPage& page, std::string caption);
  // Activates a page: the active page may refuse to leave (OnKillActive) and the new
  // one to come (OnSetActive). True when `index` is now the active page.
  bool setActivePage(int areaId, int index);
  int activePage(int areaId) const;
  PropertyPage* page(int areaId, int index) const;

  // --- Messages and timers ------------------------------------------------------------
  // Synchronous: dispatches at once and returns the handler's result (window thread).
  std::intptr_t send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  // Queued; any thread. False when the window no longer exists.
  bool post(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  bool setTimer(int timerId, std::chrono::milliseconds period);
  bool killTimer(int timerId);

  // --- Services (through the host) ----------------------------------------------------
  BoxResult messageBox(const std::string& text, const std::string& title,
                       BoxButtons buttons = BoxButtons::Ok, BoxIcon icon = BoxIcon::None);
  std::optional<std::string> chooseFile(const FileChooserRequest& request);
  int popupMenu(const std::vector<MenuItem>& items, Point at);

  // --- The user ------------------------------------------------------------------------
  // Each returns false when a user could not do it (no such control, hidden, disabled,
  // read-only, wrong kind, index out of range) and then changes nothing.
  bool userClick(int id);
  bool userDoubleClick(int id, int row = -1);
  bool userType(int id, const std::string& text);  // replaces the text, then TextChange
  bool userSelect(int id, int index);  // -1 clears the selection (and notifies)
  bool userFocus(int id);
  bool userSlide(int id, int position);
  bool userKey(Key key);
  bool userClose();
  bool userContextMenu(int id, Point at = {});
  bool userSelectPage(int areaId, int index);
  bool userSystemCommand(int command);

  // Dispatches an event: the message map first, then the default handling (Click on 1
  // runs OnOK, Click on 2 OnCancel, Close and kMessageClose run OnClose).
  std::intptr_t dispatch(const Event& event);

  // --- For hosts -----------------------------------------------------------------------
  // Builds the control state from the template and marks the window created.
  void beginWindow(Dialog* parentWindow, bool modal);
  // Runs OnInitDialog.
  void initialise();
  void endWindow();
  bool isModal() const { return m_modal; }

 private:
  ControlState* find(int id);
  const ControlState* findVisible(int id) const;
  bool userCanUse(int id) const;
  // A modal run that a handler ended stops the user action in progress; a form's
  // recorded end code does not (forms close with destroyWindow()).
  bool endedModal() const { return m_modal && m_ended; }
  void changed(int id);
  void runCommand(int id);
  int defaultButton() const;  // the visible default push button, 0 when none
  bool isTabStop(std::size_t index) const;
  void focusNextTabStop();
  bool canPress(int id) const;
  void keyElsewhere(Key key);
  std::pair<std::size_t, std::size_t> radioGroupOf(std::size_t index) const;
  void hidePage(PropertyPage* page);
  void forgetPage(const Dialog* page);
  bool showPage(int areaId, PropertyPage* page);

  Host& m_host;
  DialogTemplate m_template;
  Dialog* m_owner;
  Dialog* m_parentWindow = nullptr;
  WindowHandle m_handle;
  WindowHandle m_areaOwner = 0;  // the window whose page area holds this page
  std::vector<ControlState> m_controls;
  std::string m_caption;
  Point m_position;
  bool m_created = false;
  bool m_modal = false;
  bool m_ended = false;
  int m_endCode = 0;
  bool m_shown = false;
  bool m_windowEnabled = true;
  bool m_whiteBackground = false;
  int m_focus = 0;
  std::vector<SystemMenuItem> m_systemMenu;
};

}  // namespace kit::ui
