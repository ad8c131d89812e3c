// The drive host through RunDriven: steps applied inside the program's own loops,
// nested modal runs, boxes, file choosers, real timers and posts from worker threads,
// the end of the steps, and the transcript and exit status they leave.
#include "platform/ui/drive/drive_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "platform/ui/drive/run_driven.h"
#include "platform/ui/property_page.h"
#include "platform/ui/tests/test_dialogs.h"

namespace kit::ui::drive {
namespace {

using namespace kit::ui::sample;
using ::testing::HasSubstr;

struct DrivenRun {
  int code = -1;
  std::string transcript;
  std::string errors;
};

// Runs `program` on a drive host with `script` written to a file, as `--drive FILE` does.
DrivenRun Drive(const std::string& script, const DrivenProgram& program) {
  char path[] = "/tmp/drive-script.XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, script.data(), script.size()), static_cast<ssize_t>(script.size()));
  close(fd);
  std::ostringstream out, err;
  DrivenRun run;
  run.code = RunDriven(path, program, out, err);
  std::remove(path);
  run.transcript = out.str();
  run.errors = err.str();
  return run;
}

constexpr std::uint16_t kAsk = 120;       // opens the nested note
constexpr std::uint16_t kStartWork = 121;  // starts a worker that posts back
constexpr std::uint16_t kOpenFile = 122;
constexpr std::uint16_t kQuestion = 123;   // a Yes/No box
constexpr std::uint32_t kMessageDone = kMessageUser + 7;

DialogTemplate MainTemplate() {
  DialogTemplate t = SampleTemplate();
  t.controls.push_back(Button(kAsk, "Ask", {5, 180, 30, 14}));
  t.controls.push_back(Button(kStartWork, "Work", {40, 180, 30, 14}));
  t.controls.push_back(Button(kOpenFile, "Open", {75, 180, 30, 14}));
  t.controls.push_back(Button(kQuestion, "Question", {110, 180, 30, 14}));
  return t;
}

// A main window whose buttons open a nested modal note (OK ends the main window with
// 7), start a worker thread that posts its result, open a file and ask a question.
class MainDialog : public SampleDialog {
 public:
  explicit MainDialog(Host& host) : SampleDialog(host, MainTemplate()) {}
  ~MainDialog() override {
    if (m_worker.joinable()) m_worker.join();
  }
  const MessageMap* messageMap() const override {
    static const MessageMap map = MessageMapBuilder<MainDialog>()
                                      .on(EventKind::Click, kAsk, &MainDialog::OnAsk)
                                      .on(EventKind::Click, kStartWork, &MainDialog::OnStartWork)
                                      .on(EventKind::Click, kOpenFile, &MainDialog::OnOpenFile)
                                      .on(EventKind::Click, kQuestion, &MainDialog::OnQuestion)
                                      .on(EventKind::Timer, 1, &MainDialog::OnTick)
                                      .onMessage(kMessageDone, &MainDialog::OnDone)
                                      .inherit(SampleDialog::messageMap())
                                      .build();
    return &map;
  }

 private:
  void OnAsk() {
    DialogTemplate t{700, "Note", 100, 50, {}, {Label(1086, "Sure?", {5, 5, 90, 10}), Button(kIdOk, "OK", {5, 30, 40, 14}), Button(kIdCancel, "Cancel", {50, 30, 40, 14})}, 0, ""};
    Dialog note(host(), t, this);
    if (note.runModal() == kIdOk) endDialog(7);
  }
  void OnStartWork() {
    setTimer(1, std::chrono::milliseconds(10));
    m_worker = std::thread([this] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      post(kMessageDone, 42);
    });
  }
  std::intptr_t OnDone(std::uintptr_t value, std::intptr_t) {
    m_worker.join();
    setText(kLabel, "done " + std::to_string(value));
    return 0;
  }
  void OnTick() { m_ticks.fetch_add(1); }
  void OnOpenFile() {
    FileChooserRequest request;
    request.defaultExtension = "txt";
    request.mustExist = true;
    const auto chosen = chooseFile(request);
    setText(kLabel, chosen ? *chosen : "(cancelled)");
  }
  void OnQuestion() {
    const BoxResult answer = messageBox("Save \"it\"?\r\nNow", "Question", BoxButtons::YesNo);
    setText(kLabel, "answer " + std::to_string(static_cast<int>(answer)));
  }

  std::thread m_worker;
  std::atomic<int> m_ticks{0};

 public:
  int ticks() const { return m_ticks.load(); }
};

DrivenProgram Modal(int* ticks = nullptr) {
  return [ticks](Host& host) {
    MainDialog main(host);
    const int code = main.runModal();
    if (ticks) *ticks = main.ticks();
    return code == 7 || code == kIdCancel ? 0 : 1;
  };
}

TEST(DriveHostTest, NestedModalRunsTakeTheFollowingStepsUntilTheyEnd) {
  const auto run = Drive(
      "click 120\n"
      "show 1086\n"  // inside the note
      "click 2\n"    // Cancel: back in the main window
      "text 101 \"xy\"\n"
      "show 101\n"
      "click 120\n"
      "key enter\n",  // OK of the note ends the main window with 7
      Modal());
  EXPECT_EQ(run.code, 0) << run.errors;
  EXPECT_EQ(run.transcript,
            "open 500 \"Sample\"\n"
            "open 700 \"Note\"\n"
            "show 1086 \"Sure?\" enabled\n"
            "close 700 2\n"
            "show 101 \"xy\" enabled\n"
            "open 700 \"Note\"\n"
            "close 700 1\n"
            "close 500 7\n");
}

TEST(DriveHostTest, AWorkerThreadPostsAndTimersFireDuringWait) {
  int ticks = 0;
  const auto run = Drive(
      "click 121\n"
      "wait 300\n"
      "show 100\n"
      "click 120\n"
      "click 1\n",
      Modal(&ticks));
  EXPECT_EQ(run.code, 0) << run.errors;
  EXPECT_THAT(run.transcript, HasSubstr("show 100 \"done 42\" enabled\n"));
  EXPECT_GT(ticks, 5);  // a 10 ms timer over 300 ms of real time
}

TEST(DriveHostTest, RefusedStepsAreWrittenAndTheRunGoesOn) {
  const auto run = Drive(
      "click 999\n"
      "click 101\n"        // an edit
      "text 103 \"x\"\n"   // a check box
      "text 115 \"x\"\n"   // read-only
      "select 107 5\n"
      "dblclick 112 0\n"   // no rows
      "page 0\n"
      "show 1086\n"        // only in the note
      "text 102 \"1a2b3c4d5e6\"\n"  // digits only, limit 5
      "show 102\n"
      "select 107 1\n"
      "show 107\n"
      "click 120\n"
      "click 1\n"
      "click 1\n",         // the program has ended
      Modal());
  EXPECT_EQ(run.code, 3);
  EXPECT_EQ(run.transcript,
            "open 500 \"Sample\"\n"
            "refused 1 \"no such control\"\n"
            "refused 2 \"not a button\"\n"
            "refused 3 \"not an edit\"\n"
            "refused 4 \"read-only\"\n"
            "refused 5 \"no entry 5\"\n"
            "refused 6 \"no row 0\"\n"
            "refused 7 \"no page area\"\n"
            "refused 8 \"no such control\"\n"
            "show 102 \"12345\" enabled\n"
            "show 107 \"57600\" enabled sel=1\n"
            "  0 \"115200\"\n"
            "  1 \"57600\"\n"
            "open 700 \"Note\"\n"
            "close 700 1\n"
            "close 500 7\n"
            "refused 15 \"no window\"\n");
}

TEST(DriveHostTest, BoxesAreTopMostAndAnsweredByTheirStandardIds) {
  const auto run = Drive(
      "click 123\n"
      "show 6\n"
      "click 1\n"    // no OK in a Yes/No box
      "close\n"      // nor a close box
      "key escape\n" // ignored
      "key tab\n"
      "key enter\n"  // No
      "show 100\n"
      "click 123\n"
      "click 6\n"
      "show 100\n",
      Modal());
  EXPECT_EQ(run.code, 3);
  EXPECT_EQ(run.transcript,
            "open 500 \"Sample\"\n"
            "open box \"Question\" \"Save \\\"it\\\"?\\r\\nNow\"\n"
            "show 6 \"Yes\" enabled\n"
            "refused 3 \"no such control\"\n"
            "refused 4 \"no close box\"\n"
            "close box 7\n"
            "show 100 \"answer 7\" enabled\n"
            "open box \"Question\" \"Save \\\"it\\\"?\\r\\nNow\"\n"
            "close box 6\n"
            "show 100 \"answer 6\" enabled\n"
            "close 500 2\n");  // closed at the end by its close box
}

TEST(DriveHostTest, FileStepsAnswerTheNextChooser) {
  char dir[] = "/tmp/drive-files.XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string existing = std::string(dir) + "/receipt.txt";
  std::ofstream(existing) << "x";
  const auto run = Drive(
      "file " + std::string(dir) + "/receipt\n"  // the default extension is added
      "click 122\n"
      "show 100\n"
      "click 122\n"                               // no answer given: cancelled
      "show 100\n"
      "file \"" + std::string(dir) + "/missing.txt\"\n"
      "click 122\n"
      "show 100\n",
      Modal());
  std::remove(existing.c_str());
  rmdir(dir);
  EXPECT_EQ(run.code, 3);
  EXPECT_THAT(run.transcript, HasSubstr("show 100 \"" + existing + "\" enabled\nshow 100 \"(cancelled)\" enabled\n"));
  EXPECT_THAT(run.transcript, HasSubstr("refused 6 \"no such file: " + std::string(dir) + "/missing.txt\"\n"));
}

// A window with a page area whose page has a control with the same id as the window.
class PagedDialog : public Dialog {
 public:
  static DialogTemplate Template() {
    return DialogTemplate{800, "Main", 300, 200, {}, {Control(kArea, ControlKind::PageArea, {10, 0, 200, 150}), EditableDropDown(1010, {220, 5, 60, 50}, {"COM1"})}, 0, ""};
  }
  static DialogTemplate PageTemplate(int id, const char* caption) {
    return DialogTemplate{id, caption, 100, 80, {}, {Button(1010, "Scan", {5, 5, 40, 14}), EditBox(1011, {5, 25, 40, 12})}, kChildWindow, ""};
  }
  explicit PagedDialog(Host& host)
      : Dialog(host, Template()), m_first(host, PageTemplate(801, "Test")), m_second(host, PageTemplate(802, "Info")) {}
  bool OnInitDialog() override {
    addPage(kArea, m_first, "Test");
    addPage(kArea, m_second, "Info");
    setActivePage(kArea, 0);
    return true;
  }

 private:
  PropertyPage m_first;
  PropertyPage m_second;
};

TEST(DriveHostTest, AControlOfTheActivePageIsFoundBeforeOneOfTheWindow) {
  const auto run = Drive(
      "show 1010\n"
      "page 1\n"
      "show 1010\n"
      "show 114\n"
      "page 2\n"
      "close\n",
      [](Host& host) {
        PagedDialog dialog(host);
        return dialog.runModal() == kIdCancel ? 0 : 1;
      });
  EXPECT_EQ(run.code, 3);
  EXPECT_EQ(run.transcript,
            "open 800 \"Main\"\n"
            "open 801 \"Test\"\n"
            "show 1010 \"Scan\" enabled\n"
            "open 802 \"Info\"\n"
            "show 1010 \"Scan\" enabled\n"
            "show 114 \"\" enabled sel=1\n"
            "  0 \"Test\"\n"
            "  1 \"Info\"\n"
            "refused 5 \"no page 2\"\n"
            "close 801 0\n"
            "close 802 0\n"
            "close 800 2\n");
}

// Two modeless forms: the second hides the first; closing the second shows the first
// again, closing the first ends the program.
class Form : public Dialog {
 public:
  Form(Host& host, int id, Form* back) : Dialog(host, DialogTemplate{id, "Form" + std::to_string(id), 100, 60, {}, {Button(10, "Next", {5, 5, 40, 14}, kDefaultButton), EditBox(11, {5, 25, 40, 12})}, 0, ""}), m_back(back) {}
  Form* next = nullptr;
  int presses = 0;
  const MessageMap* messageMap() const override {
    static const MessageMap map = MessageMapBuilder<Form>().on(EventKind::Click, 10, &Form::OnNext).build();
    return &map;
  }
  void OnClose() override {
    destroyWindow();
    if (m_back) m_back->showWindow(true);
  }

 private:
  void OnNext() {
    ++presses;
    if (!next) return;
    if (!next->isCreated()) next->create();
    showWindow(false);
  }
  Form* m_back;
};

TEST(DriveHostTest, FormsRunInTheMessageLoopAndAreClosedTopMostFirstAtTheEnd) {
  int presses = 0;
  const auto run = Drive(
      "focus 11\n"
      "key escape\n"  // a form has no Cancel
      "key enter\n"   // the default button: Form2 opens
      "key escape\n"
      "key enter\n"   // the focused push button of Form2
      "focus 11\n"
      "key space\n"   // on an edit: nothing
      "click 10\n",
      [&](Host& host) {
        Form first(host, 1, nullptr);
        Form second(host, 2, &first);
        first.next = &second;
        first.create();
        host.runMessageLoop();
        presses = second.presses;
        return 0;
      });
  EXPECT_EQ(run.code, 0) << run.errors;
  EXPECT_EQ(presses, 2);
  EXPECT_EQ(run.transcript,
            "open 1 \"Form1\"\n"
            "open 2 \"Form2\"\n"
            "close 2 0\n"
            "open 1 \"Form1\"\n"
            "close 1 0\n");
}

// A window that posts to itself for ever.
class Busy : public Dialog {
 public:
  explicit Busy(Host& host) : Dialog(host, DialogTemplate{910, "Busy", 100, 60, {}, {Button(kIdOk, "OK", {5, 5, 40, 14})}, 0, ""}) {}
  bool OnInitDialog() override {
    post(kMessagePing);
    return true;
  }
  const MessageMap* messageMap() const override {
    static const MessageMap map = MessageMapBuilder<Busy>().onMessage(kMessagePing, &Busy::OnPing).build();
    return &map;
  }

 private:
  std::intptr_t OnPing(std::uintptr_t, std::intptr_t) {
    post(kMessagePing);
    return 0;
  }
};

TEST(DriveHostTest, AWindowPostingToItselfDoesNotStarveTheSteps) {
  const auto run = Drive("click 1\n", [](Host& host) {
    Busy busy(host);
    return busy.runModal() == kIdOk ? 0 : 1;
  });
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.transcript, "open 910 \"Busy\"\nclose 910 1\n");
}

TEST(DriveHostTest, AWindowThatWillNotCloseIsEndedAfterTheGrace) {
  std::ostringstream out, err;
  Script script;
  DriveHost host(script, out, err);
  host.setCloseGrace(std::chrono::milliseconds(100));
  DialogTemplate t{900, "Stubborn", 100, 60, {}, {}, kNoCloseBox, ""};
  Dialog dialog(host, t);
  EXPECT_EQ(dialog.runModal(), kIdCancel);
  EXPECT_EQ(out.str(), "open 900 \"Stubborn\"\nclose 900 2\n");
  EXPECT_THAT(err.str(), HasSubstr("window 900 stayed open"));
}

TEST(DriveHostTest, AnUnreadableScriptRunsNothingAndNamesTheLine) {
  bool ran = false;
  const auto run = Drive("click 1\nclick x\n", [&](Host&) {
    ran = true;
    return 0;
  });
  EXPECT_EQ(run.code, 2);
  EXPECT_FALSE(ran);
  EXPECT_THAT(run.errors, HasSubstr("line 2: ID must be"));
  EXPECT_EQ(run.transcript, "");
}

}  // namespace
}  // namespace kit::ui::drive
