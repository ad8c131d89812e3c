#pragma once
// DriveHost: runs a program's real windows without a display and applies a script's
// steps to them as a user would, in real time, writing a transcript of what happens.
//
// The steps are consumed from inside the host's loops: a modal run, the modeless message
// loop and a message box each apply the next step to the top-most window whenever no
// posted message and no due timer is waiting. When a step opens a modal dialog, the
// following steps act inside it until it ends, so modal runs nest as they do for a user.
// Timers fire on the real clock and messages posted by other threads are handled while
// the host waits (`wait MS`, or a loop with nothing else to do).
//
// The top-most window is the newest open modal dialog or box, else the newest shown
// top-level window. A control ID is looked up in the shown child windows of the
// top-most window first (the active page of a page area, a wizard's page), then in the
// window itself.
//
// When the steps have run out the host closes the program as a user would: boxes get
// their default (first) button and the top-most window its close box, again and again
// until the program has ended. A window that stays open 10 s after its close box is
// ended by the host (modal: code 2; form: destroyed) with a note on the error stream.
//
// Window thread only, except post().
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/drive/box_window.h"
#include "platform/ui/drive/drive_script.h"
#include "platform/ui/drive/transcript.h"
#include "platform/ui/headless/post_queue.h"
#include "platform/ui/headless/timer_table.h"
#include "platform/ui/host.h"

namespace kit::ui::drive {

class DriveHost : public Host {
 public:
  // transcript: standard output of the drive mode; errors: notes for the user.
  DriveHost(Script script, std::ostream& transcript, std::ostream& errors);
  ~DriveHost() override;

  // Applies the steps left after the program has ended: `wait` still waits and `file`
  // is taken, every other step is refused with "no window".
  void finishSteps();
  bool anyRefused() const { return m_refused; }
  bool stepsLeft() const { return m_next < m_script.steps.size(); }

  // How long a window may stay open after the host pressed its close box at the end.
  void setCloseGrace(std::chrono::milliseconds grace) { m_closeGrace = grace; }

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
  void windowChanged(Dialog& dialog) override;

 protected:
  void enqueue(const PostedMessage& message) override;

 private:
  // An open modal dialog or box; the back of m_layers is top-most.
  struct Layer {
    Dialog* dialog = nullptr;
    BoxWindow* box = nullptr;
    std::uint64_t boxSerial = 0;
    // Boxes and windows told apart for ever: window handles are never reused.
    std::uint64_t key() const { return box ? (std::uint64_t{1} << 32) + boxSerial : dialog->handle(); }
  };
  using Clock = std::chrono::steady_clock;

  // Runs posted messages, timers and steps until `done` says the loop's window ended.
  template <class Done>
  void drive(const Done& done);
  bool handleOne();
  void idleUntil(Clock::time_point deadline);
  std::chrono::milliseconds elapsed() const;
  void closeAtEnd();

  std::optional<Layer> topMost() const;
  Dialog* newestTopLevel(bool shownOnly) const;
  Dialog* windowWithControl(Dialog& top, int id) const;
  Dialog* keyWindow(Dialog& top) const;
  bool isWithin(const Dialog& window, const Dialog& top) const;

  void applyNextStep();
  void applyStep(const Step& step);
  std::optional<std::string> applyToBox(const Step& step, BoxWindow& box);
  std::optional<std::string> applyToWindow(const Step& step, Dialog& top);
  std::optional<std::string> applyToControl(const Step& step, Dialog& window);
  void show(Dialog& window, int id);
  void refuse(int line, const std::string& why);

  void noteShown(Dialog& dialog);
  void flushOpens();
  void noteClosed(Dialog& dialog);

  Script m_script;
  std::size_t m_next = 0;
  Transcript m_transcript;
  std::ostream& m_errors;
  bool m_refused = false;

  PostQueue m_queue;
  TimerTable m_timers;
  Clock::time_point m_start = Clock::now();
  std::optional<Clock::time_point> m_waitUntil;  // a `wait` step in progress

  std::vector<Layer> m_layers;
  std::vector<WindowHandle> m_topLevel;  // creation order
  std::map<WindowHandle, std::vector<WindowHandle>> m_children;
  std::set<WindowHandle> m_shown;     // created and shown, as last reported
  std::set<WindowHandle> m_opened;    // an open line was written and no close yet
  std::vector<WindowHandle> m_pendingOpens;
  int m_initialising = 0;
  WindowHandle m_keyWindow = 0;  // the window of the control a step last acted on

  struct FileAnswer {
    int line = 0;
    bool cancel = false;
    std::string path;
  };
  std::optional<FileAnswer> m_fileAnswer;

  // Closing at the end of the steps.
  std::chrono::milliseconds m_closeGrace{10000};
  std::uint64_t m_closing = 0;  // Layer::key() of what the host last tried to close
  bool m_closeAccepted = false;
  Clock::time_point m_closingSince;
  Clock::time_point m_closeTried;
  std::uint64_t m_boxSerial = 0;
};

}  // namespace kit::ui::drive
