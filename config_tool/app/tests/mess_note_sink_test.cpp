#include "config_tool/app/mess_note_sink.h"

#include <gtest/gtest.h>

#include <thread>

#include "config_tool/app/resource.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;

// Notes raised on a worker thread are shown in order, as CMess notes, on the window thread.
TEST(MessNoteSinkTest, NotesFromAWorkerAreShownOnTheWindowThread) {
  HeadlessHost host;
  const auto windowThread = std::this_thread::get_id();
  std::vector<std::thread::id> shownOn;
  host.onModal(IDD_MESS, [&](ModalScript& s) {
    shownOn.push_back(std::this_thread::get_id());
    s.dialog.userClick(IDC_MESS_OK_MIDDLE);
  });
  MessNoteSink sink(host, nullptr);
  std::thread worker([&] {
    sink.showNote("The dongle has been removed!");
    sink.showNote("second");
  });
  worker.join();
  EXPECT_TRUE(host.modals().empty());  // nothing is shown on the worker
  EXPECT_EQ(host.pumpPosted(), 2);
  const auto notes = host.modalsOf(IDD_MESS);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].text(), "The dongle has been removed!");
  EXPECT_EQ(notes[1].text(), "second");
  EXPECT_EQ(notes[0].buttons.size(), 1u);
  for (auto id : shownOn) EXPECT_EQ(id, windowThread);
}

TEST(MessNoteSinkTest, NotesQueuedWhenTheSinkGoesAwayAreDropped) {
  HeadlessHost host;
  {
    MessNoteSink sink(host, nullptr);
    sink.showNote("late");
  }
  EXPECT_EQ(host.pumpPosted(), 1);
  EXPECT_TRUE(host.modals().empty());
}

}  // namespace
}  // namespace tarnwave
