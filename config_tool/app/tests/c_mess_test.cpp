#include "config_tool/app/c_mess.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "config_tool/app/c_fix_complete.h"
#include "config_tool/app/resource.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;
using ::testing::ElementsAre;

struct MessCase {
  int mode;
  const char* action;
  std::function<bool(kit::ui::Dialog&)> act;
  int result;
};

TEST(CMessTest, ModesShowTheirButtonsAndEveryWayOutGivesOneOrTwo) {
  const MessCase cases[] = {
      {0, "middle OK", [](auto& d) { return d.userClick(IDC_MESS_OK_MIDDLE); }, 1},
      {0, "Enter", [](auto& d) { return d.userKey(kit::ui::Key::Enter); }, 1},
      {0, "Escape", [](auto& d) { return d.userKey(kit::ui::Key::Escape); }, 2},
      {0, "close box", [](auto& d) { return d.userClose(); }, 2},
      {1, "OK", [](auto& d) { return d.userClick(IDOK); }, 1},
      {1, "Enter", [](auto& d) { return d.userKey(kit::ui::Key::Enter); }, 1},
      {1, "Cancel", [](auto& d) { return d.userClick(IDCANCEL); }, 2},
      {1, "Enter on Cancel", [](auto& d) { return d.userFocus(IDCANCEL) && d.userKey(kit::ui::Key::Enter); }, 2},
      {1, "Space on Cancel", [](auto& d) { return d.userFocus(IDCANCEL) && d.userKey(kit::ui::Key::Space); }, 2},
      {1, "close box", [](auto& d) { return d.userClose(); }, 2},
      {7, "middle OK", [](auto& d) { return d.userClick(IDC_MESS_OK_MIDDLE); }, 1},  // any other mode is a note
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + c.action);
    HeadlessHost host;
    host.onModal(IDD_MESS, [&](ModalScript& s) { EXPECT_TRUE(c.act(s.dialog)); });
    CMess mess(host);
    mess.m_text = "Search complete";
    mess.m_mode = c.mode;
    EXPECT_EQ(mess.runModal(), c.result);
    const auto& shown = host.modals().at(0);
    EXPECT_EQ(shown.caption, "Note");
    EXPECT_EQ(shown.text(), "Search complete");
    if (c.mode == 1) {
      EXPECT_THAT(shown.buttons, ElementsAre("OK", "Cancel"));
    } else {
      EXPECT_THAT(shown.buttons, ElementsAre("OK"));
    }
  }
}

TEST(CMessTest, HiddenButtonsCannotBePressed) {
  HeadlessHost host;
  host.onModal(IDD_MESS, [](ModalScript& s) {
    EXPECT_FALSE(s.dialog.userClick(s.run == 0 ? IDCANCEL : IDC_MESS_OK_MIDDLE));
    s.dialog.userClose();
  });
  EXPECT_EQ(CMess::Note(host, nullptr, "n"), 2);
  EXPECT_EQ(CMess::Confirm(host, nullptr, "c"), 2);
}

TEST(CFixCompleteTest, ResetNowIsOneAndResetLaterTwo) {
  HeadlessHost host;
  host.onModal(IDD_FIX_COMPLETE, [](ModalScript& s) { s.dialog.userClick(s.run == 0 ? IDOK : IDCANCEL); });
  CFixComplete dialog(host);
  EXPECT_EQ(dialog.runModal(), 1);
  EXPECT_EQ(dialog.runModal(), 2);
  EXPECT_EQ(host.modals().at(0).text(), "Modify parameter completed,it will valid after reset!");
  EXPECT_THAT(host.modals().at(0).buttons, ElementsAre("Reset Now", "Reset Later"));
}

}  // namespace
}  // namespace tarnwave
