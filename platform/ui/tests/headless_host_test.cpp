// Modal runs, scripts, records, posted messages and virtual timers of the headless host.
#include "platform/ui/headless/headless_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "platform/ui/tests/test_dialogs.h"
#include "platform/ui/wait_cursor.h"

namespace kit::ui {
namespace {

using namespace kit::ui::sample;
using ::testing::ElementsAre;

// A dialog whose "Apply" asks for confirmation through a nested modal note.
class AskingDialog : public SampleDialog {
 public:
  using SampleDialog::SampleDialog;
  const MessageMap* messageMap() const override {
    static const MessageMap map =
        MessageMapBuilder<AskingDialog>().on(EventKind::Click, kApply, &AskingDialog::OnApply).build();
    return &map;
  }
  void OnApply() {
    DialogTemplate t{700, "Note", 100, 50, {}, {Label(1086, "Sure?", {5, 5, 90, 10}), Button(kIdOk, "OK", {5, 30, 40, 14}), Button(kIdCancel, "Cancel", {50, 30, 40, 14})}, 0, ""};
    Dialog note(host(), t, this);
    if (note.runModal() == kIdOk) endDialog(7);
  }
};

TEST(HeadlessHostTest, ScriptsDriveNestedModalRunsAndEveryRunIsRecorded) {
  HeadlessHost host;
  host.onModal(700, [](ModalScript& s) { s.dialog.userClick(s.run == 0 ? kIdCancel : kIdOk); });
  host.onModal(500, [](ModalScript& s) {
    EXPECT_EQ(s.dialog.text(kEdit), "abc");  // OnInitDialog ran first
    s.dialog.userClick(kApply);              // note answered Cancel: stays open
    EXPECT_FALSE(s.dialog.isEnded());
    s.dialog.userClick(kApply);              // note answered OK: ends with 7
  });
  AskingDialog dialog(host);
  EXPECT_EQ(dialog.runModal(), 7);
  ASSERT_EQ(host.modals().size(), 3u);
  EXPECT_EQ(host.modals()[0].dialogId, 500);
  const auto notes = host.modalsOf(700);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].text(), "Sure?");
  EXPECT_THAT(notes[0].buttons, ElementsAre("OK", "Cancel"));
  EXPECT_EQ(notes[0].result, kIdCancel);
  EXPECT_EQ(notes[1].result, kIdOk);
  EXPECT_FALSE(dialog.isCreated());
}

TEST(HeadlessHostTest, AnUnscriptedDialogIsClosedWithItsCloseBox) {
  HeadlessHost host;
  SampleDialog dialog(host);
  EXPECT_EQ(dialog.runModal(), kIdCancel);
  EXPECT_TRUE(host.modals().at(0).closedByHost);
}

TEST(HeadlessHostTest, ADialogLeftOpenByItsScriptIsClosedAndMarked) {
  HeadlessHost host;
  host.setIdleWait(std::chrono::milliseconds(10));
  host.onModal(500, [](ModalScript& s) { s.dialog.userType(kEdit, "x"); });
  SampleDialog dialog(host);
  EXPECT_EQ(dialog.runModal(), kIdCancel);
  EXPECT_TRUE(host.modals().at(0).leftOpen);
}

TEST(HeadlessHostTest, EachRunRebuildsTheControlsFromTheTemplate) {
  HeadlessHost host;
  host.onModal(500, [](ModalScript& s) {
    EXPECT_FALSE(s.dialog.isChecked(kCheck));
    s.dialog.userClick(kCheck);
    s.dialog.userClick(kIdOk);
  });
  SampleDialog dialog(host);
  EXPECT_EQ(dialog.runModal(), kIdOk);
  EXPECT_EQ(dialog.runModal(), kIdOk);
  EXPECT_EQ(dialog.initCount, 2);
}

// Posts from a worker thread reach the modal dialog in order; the worker ends the run.
class WorkerDialog : public SampleDialog {
 public:
  using SampleDialog::SampleDialog;
  bool OnInitDialog() override {
    m_worker = std::thread([this] {
      for (int i = 0; i < 50; ++i) post(kMessagePing, static_cast<std::uintptr_t>(i), 0);
      post(kMessageClose);
    });
    return true;
  }
  ~WorkerDialog() override {
    if (m_worker.joinable()) m_worker.join();
  }

 private:
  std::thread m_worker;
};

TEST(HeadlessHostTest, MessagesPostedFromAnotherThreadArriveInOrder) {
  HeadlessHost host;
  host.onModal(500, {});  // let it end itself
  WorkerDialog dialog(host);
  EXPECT_EQ(dialog.runModal(), kIdCancel);
  ASSERT_EQ(dialog.log.size(), 50u);
  EXPECT_EQ(dialog.log.front(), "ping 0 0");
  EXPECT_EQ(dialog.log.back(), "ping 49 0");
  EXPECT_FALSE(host.modals().at(0).leftOpen);
}

TEST(HeadlessHostTest, PostsToAGoneWindowAreRefusedOrDropped) {
  HeadlessHost host;
  auto dialog = std::make_unique<SampleDialog>(host);
  ASSERT_TRUE(dialog->create());
  EXPECT_TRUE(dialog->post(kMessagePing, 1, 1));
  const WindowHandle handle = dialog->handle();
  dialog.reset();  // the queued message now has no window
  EXPECT_EQ(host.pumpPosted(), 1);
  EXPECT_FALSE(host.post(PostedMessage{handle, kMessagePing, 0, 0}));
}

// Forms: modeless top-level windows; the message loop runs while one exists.
class Form : public SampleDialog {
 public:
  using SampleDialog::SampleDialog;
  void OnClose() override { destroyWindow(); }
};

TEST(HeadlessHostTest, TheMessageLoopEndsWhenTheLastFormCloses) {
  HeadlessHost host;
  Form first(host), second(host);
  ASSERT_TRUE(first.create());
  ASSERT_TRUE(second.create());
  second.showWindow(false);  // hidden forms still count
  first.post(kMessageClose);
  second.post(kMessageClose);
  host.runMessageLoop();
  EXPECT_FALSE(first.isCreated());
  EXPECT_FALSE(second.isCreated());
}

TEST(HeadlessHostTest, TimersFireInDueOrderOnVirtualTime) {
  HeadlessHost host;
  SampleDialog dialog(host);
  ASSERT_TRUE(dialog.create());
  dialog.log.clear();
  dialog.setTimer(1, std::chrono::milliseconds(500));
  dialog.setTimer(2, std::chrono::milliseconds(200));
  host.advance(std::chrono::milliseconds(1000));
  EXPECT_THAT(dialog.log, ElementsAre("timer 2", "timer 2", "timer 1", "timer 2", "timer 2", "timer 1", "timer 2"));
  dialog.killTimer(2);
  dialog.log.clear();
  host.advance(std::chrono::milliseconds(500));
  EXPECT_THAT(dialog.log, ElementsAre("timer 1"));
  dialog.destroyWindow();
  EXPECT_FALSE(host.hasTimer(dialog, 1));
}

TEST(HeadlessHostTest, ServicesAreAnsweredByRespondersAndRecorded) {
  HeadlessHost host;
  SampleDialog dialog(host);
  ASSERT_TRUE(dialog.create());
  EXPECT_EQ(dialog.messageBox("Open file fails", "Varnex ", BoxButtons::Ok, BoxIcon::Information), BoxResult::Ok);
  host.onBox([](const MessageBoxRequest&) { return BoxResult::No; });
  EXPECT_EQ(dialog.messageBox("Create?", "", BoxButtons::YesNo), BoxResult::No);
  ASSERT_EQ(host.boxes().size(), 2u);
  EXPECT_EQ(host.boxes()[0].request.title, "Varnex ");
  EXPECT_EQ(host.boxes()[0].request.icon, BoxIcon::Information);

  FileChooserRequest request;
  request.defaultExtension = "cfg";
  EXPECT_FALSE(dialog.chooseFile(request).has_value());
  host.onFileChooser([](const FileChooserRequest&) { return std::optional<std::string>("/tmp/Config"); });
  EXPECT_EQ(dialog.chooseFile(request), "/tmp/Config.cfg");
  EXPECT_EQ(host.fileChoosers().size(), 2u);

  {
    WaitCursor wait(host);
    EXPECT_EQ(host.waitCursorDepth(), 1);
  }
  EXPECT_EQ(host.waitCursorDepth(), 0);

  host.onPopupMenu([](const std::vector<MenuItem>& items) { return items.at(0).command; });
  EXPECT_EQ(dialog.popupMenu({{32771, "Clear"}}, {}), 32771);
}

}  // namespace
}  // namespace kit::ui
