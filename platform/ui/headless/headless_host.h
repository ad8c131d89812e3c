#pragma once
// HeadlessHost: shows dialogs nowhere. Control state lives in the Dialogs; the host
// scripts what happens inside each modal run and records what was shown.
//
//   kit::ui::HeadlessHost host;
//   host.onModal(184, [](kit::ui::ModalScript& s) {
//     s.dialog.userType(1040, "12345");
//     s.dialog.userClick(kit::ui::kIdOk);     // a note opens and is recorded
//     s.dialog.userType(1040, "123456");
//     s.dialog.userClick(kit::ui::kIdOk);     // ends the dialog with 1
//   });
//
// A modal run: the window is created, OnInitDialog runs, the run is recorded, then the
// responder for the dialog id runs. While the dialog is still open afterwards the host
// pumps posted messages and timers: queued messages first; when none are queued, the
// earliest due timer fires (time is virtual and jumps to it). A dialog with a responder
// that is still open when nothing is queued and no timer is set waits up to idleWait()
// for a message posted by another thread, then is closed with its close box and the
// run is marked as left open. A dialog without a responder is closed with its close box
// as soon as nothing is queued (like a user who dismisses every unexpected window);
// give it an empty responder to let it end itself (a worker posting kMessageClose).
//
// Message boxes are answered by the box responder (default: the first button), file
// choosers by the chooser responder (default: cancel), pop-up menus by the menu
// responder (default: nothing chosen). Every one is recorded.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/headless/post_queue.h"
#include "platform/ui/headless/timer_table.h"
#include "platform/ui/host.h"

namespace kit::ui {

class HeadlessHost;

struct ModalScript {
  HeadlessHost& host;
  Dialog& dialog;
  int run;  // how many runs of this dialog id came before this one
};

// What a modal run showed when it opened, and how it ended.
struct ModalRecord {
  int dialogId = 0;
  std::string caption;
  std::vector<std::string> texts;    // visible static texts, template order
  std::vector<std::string> buttons;  // visible push buttons, template order
  int result = 0;
  bool closedByHost = false;  // no responder ended it
  bool leftOpen = false;      // a responder left it open and nothing ended it
  std::string text() const { return texts.empty() ? std::string() : texts.front(); }
};

struct BoxRecord {
  MessageBoxRequest request;
  BoxResult answer = BoxResult::Ok;
};

struct MenuRecord {
  std::vector<MenuItem> items;
  int chosen = 0;
};

class HeadlessHost : public Host {
 public:
  using Responder = std::function<void(ModalScript&)>;
  using BoxResponder = std::function<BoxResult(const MessageBoxRequest&)>;
  using ChooserResponder = std::function<std::optional<std::string>(const FileChooserRequest&)>;
  using MenuResponder = std::function<int(const std::vector<MenuItem>&)>;

  HeadlessHost();
  ~HeadlessHost() override;

  // --- Scripting ------------------------------------------------------------------------
  void onModal(int dialogId, Responder responder);
  void onBox(BoxResponder responder);
  void onFileChooser(ChooserResponder responder);
  void onPopupMenu(MenuResponder responder);
  void setIdleWait(std::chrono::milliseconds wait) { m_idleWait = wait; }
  std::chrono::milliseconds idleWait() const { return m_idleWait; }

  // --- Records --------------------------------------------------------------------------
  const std::vector<ModalRecord>& modals() const { return m_modals; }
  std::vector<ModalRecord> modalsOf(int dialogId) const;
  const std::vector<BoxRecord>& boxes() const { return m_boxes; }
  const std::vector<FileChooserRequest>& fileChoosers() const { return m_choosers; }
  const std::vector<MenuRecord>& menus() const { return m_menus; }
  int waitCursorDepth() const { return m_waitCursor; }
  void clearRecords();

  // --- Pumping outside modal runs (modeless windows) -------------------------------------
  // Dispatches every queued message; returns how many.
  int pumpPosted();
  // Waits up to `timeout` for a message from another thread and dispatches what is queued.
  bool waitForPosted(std::chrono::milliseconds timeout);
  // Moves virtual time forward, firing due timers in order (messages queued by their
  // handlers are pumped in between).
  void advance(std::chrono::milliseconds by);
  std::chrono::milliseconds now() const { return m_now; }
  bool hasTimer(const Dialog& dialog, int timerId) const;

  // --- Host -----------------------------------------------------------------------------
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

 protected:
  void enqueue(const PostedMessage& message) override;

 private:
  std::optional<PostedMessage> takePosted();
  bool takePostedAndDeliver();
  bool fireNextTimer(std::optional<std::chrono::milliseconds> limit);
  ModalRecord recordOf(const Dialog& dialog) const;

  std::map<int, Responder> m_responders;
  std::map<int, int> m_runs;
  BoxResponder m_boxResponder;
  ChooserResponder m_chooserResponder;
  MenuResponder m_menuResponder;
  std::chrono::milliseconds m_idleWait{30000};

  std::vector<ModalRecord> m_modals;
  std::vector<BoxRecord> m_boxes;
  std::vector<FileChooserRequest> m_choosers;
  std::vector<MenuRecord> m_menus;
  int m_waitCursor = 0;

  PostQueue m_queue;
  TimerTable m_timers;
  std::chrono::milliseconds m_now{0};
  std::vector<WindowHandle> m_topLevel;
};

}  // namespace kit::ui
