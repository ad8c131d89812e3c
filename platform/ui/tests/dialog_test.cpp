// The dialog model: what user actions do to control state and which events they raise.
#include "platform/ui/dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/headless/headless_host.h"
#include "platform/ui/tests/test_dialogs.h"

namespace kit::ui {
namespace {

using ::testing::ElementsAre;
using namespace kit::ui::sample;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.create()); }
  HeadlessHost host;
  SampleDialog dialog{host};
};

TEST_F(DialogTest, UsersCannotReachHiddenDisabledOrReadOnlyControls) {
  dialog.enable(kApply, false);
  EXPECT_FALSE(dialog.userClick(kApply));
  dialog.enable(kApply, true);
  dialog.show(kApply, false);
  EXPECT_FALSE(dialog.userClick(kApply));
  EXPECT_FALSE(dialog.userType(kReadOnlyEdit, "x"));
  EXPECT_FALSE(dialog.userClick(999));
  dialog.enableWindow(false);
  EXPECT_FALSE(dialog.userType(kEdit, "x"));
  EXPECT_THAT(dialog.log, ::testing::IsEmpty());
  EXPECT_EQ(dialog.text(kEdit), "abc");
}

TEST_F(DialogTest, TypingHonoursDigitsOnlyAndTheLimit) {
  EXPECT_TRUE(dialog.userType(kDigits, "1a2b3c4d5e6"));
  EXPECT_EQ(dialog.text(kDigits), "12345");
  EXPECT_TRUE(dialog.userType(kEdit, "abcdefgh"));
  EXPECT_EQ(dialog.text(kEdit), "abcdef");
  // The limit never cuts a character in half: "文" would end past byte 6.
  EXPECT_TRUE(dialog.userType(kEdit, "ab\xE4\xB8\xAD\xE6\x96\x87"));
  EXPECT_EQ(dialog.text(kEdit), "ab\xE4\xB8\xAD");
  // The program itself may set longer texts: the limit binds the user only.
  dialog.setText(kEdit, "abcdefgh");
  EXPECT_EQ(dialog.text(kEdit), "abcdefgh");
}

TEST_F(DialogTest, FocusMovesBeforeTheClickAndNamesTheTaker) {
  dialog.userType(kEdit, "x");
  dialog.log.clear();
  dialog.userClick(kApply);
  EXPECT_THAT(dialog.log, ElementsAre("kill 101 111", "set 111 101", "apply"));
}

TEST_F(DialogTest, TheProgramMovesTheFocusWithItsEventsAndPlacesControls) {
  dialog.userType(kEdit, "x");
  dialog.log.clear();
  EXPECT_TRUE(dialog.setFocus(kIdOk));
  EXPECT_THAT(dialog.log, ElementsAre("kill 101 1", "set 1 101"));
  EXPECT_EQ(dialog.focusedControl(), kIdOk);
  EXPECT_TRUE(dialog.setControlRect(kEdit, {8, 16, 40, 8}));
  const Rect px = dialog.controlPixels(kEdit);
  EXPECT_EQ(px.x, 12);  // 6 x 13 pixel base units headless
  EXPECT_EQ(px.y, 26);
  EXPECT_EQ(px.width, 60);
  EXPECT_EQ(px.height, 13);
}

TEST_F(DialogTest, CheckBoxesToggleAndRadioGroupsEndAtTheNextGroupStart) {
  dialog.userClick(kCheck);
  EXPECT_TRUE(dialog.isChecked(kCheck));
  dialog.userClick(kCheck);
  EXPECT_FALSE(dialog.isChecked(kCheck));

  dialog.userClick(kRadioC);
  dialog.userClick(kRadioA);
  EXPECT_TRUE(dialog.isChecked(kRadioA));
  EXPECT_TRUE(dialog.isChecked(kRadioC));  // another group
  dialog.userClick(kRadioB);
  EXPECT_FALSE(dialog.isChecked(kRadioA));
  EXPECT_EQ(dialog.checkedRadioButton(kRadioA, kRadioB), kRadioB);
  EXPECT_TRUE(dialog.checkRadioButton(kRadioA, kRadioC, kRadioA));
  EXPECT_FALSE(dialog.isChecked(kRadioC));
}

TEST_F(DialogTest, ListsKeepSelectionAndTextTogether) {
  EXPECT_EQ(dialog.selection(kList), -1);
  EXPECT_TRUE(dialog.setSelection(kList, 1));
  EXPECT_EQ(dialog.text(kList), "57600");
  EXPECT_FALSE(dialog.setSelection(kList, 2));  // out of range: nothing changes
  EXPECT_EQ(dialog.selection(kList), 1);
  dialog.insertItem(kList, 0, "230400");
  EXPECT_EQ(dialog.selection(kList), 2);  // still "57600"
  dialog.deleteItem(kList, 2);
  EXPECT_EQ(dialog.selection(kList), -1);
  EXPECT_EQ(dialog.text(kList), "");

  for (const char* s : {"b", "C", "a"}) dialog.addItem(kSortedList, s);
  EXPECT_THAT(dialog.control(kSortedList)->items, ElementsAre("a", "b", "C"));

  dialog.userType(kCombo, "COM2");
  EXPECT_EQ(dialog.selection(kCombo), 1);
  dialog.userType(kCombo, "COM9");
  EXPECT_EQ(dialog.selection(kCombo), -1);
  EXPECT_EQ(dialog.text(kCombo), "COM9");
  EXPECT_FALSE(dialog.userSelect(kCombo, 5));
}

TEST_F(DialogTest, SlidersClampAndListViewsDoubleClickARow) {
  dialog.setRange(kSlider, 64, 1024);
  dialog.userSlide(kSlider, 5000);
  EXPECT_EQ(dialog.position(kSlider), 1024);
  dialog.setColumns(kView, {{"No.", 40}, {"Port", 60}});
  dialog.insertRow(kView, 0, {"1", "COM3"}, 0);
  dialog.insertRow(kView, 1, {"2"});
  dialog.setCell(kView, 1, 1, "COM4");
  dialog.log.clear();
  EXPECT_TRUE(dialog.userDoubleClick(kView, 1));
  EXPECT_FALSE(dialog.userDoubleClick(kView, 2));
  EXPECT_EQ(dialog.selection(kView), 1);
  EXPECT_EQ(dialog.cellText(kView, 1, 1), "COM4");
  EXPECT_EQ(dialog.log.back(), "dblclick 112");
}

TEST_F(DialogTest, IpAddressesReadOnlyWhenWhole) {
  dialog.setAddress(kAddress, 0xC0A80101);
  EXPECT_EQ(dialog.text(kAddress), "192.168.1.1");
  EXPECT_EQ(dialog.address(kAddress), 0xC0A80101u);
  for (const char* bad : {"", "1.2.3", "1.2.3.256", "1.2.3.4.5", "1..2.3", "a.b.c.d", "1.2.3.4 "}) {
    dialog.setText(kAddress, bad);
    EXPECT_FALSE(dialog.address(kAddress).has_value()) << bad;
  }
}

TEST_F(DialogTest, SendReturnsTheHandlersResult) {
  EXPECT_EQ(dialog.send(kMessagePing, 40, 2), 42);
  EXPECT_EQ(dialog.send(kMessageUser + 99), 0);  // unbound: default handling
}

TEST_F(DialogTest, OnlyItemsOfTheSystemMenuCanBeChosen) {
  EXPECT_FALSE(dialog.userSystemCommand(16));
  dialog.addSystemMenuItem(16, "About");
  ASSERT_EQ(dialog.systemMenu().size(), 2u);  // a separator, then the item
  EXPECT_EQ(dialog.systemMenu()[0].command, 0);
  EXPECT_TRUE(dialog.userSystemCommand(16));
  EXPECT_EQ(dialog.log.back(), "syscmd 16");
  EXPECT_FALSE(dialog.userSystemCommand(0));  // the separator
}

TEST_F(DialogTest, EnterAndEscapeNeverEndAForm) {
  dialog.userKey(Key::Enter);  // the default button, not OnOK
  EXPECT_EQ(dialog.log.back(), "apply");
  EXPECT_FALSE(dialog.isEnded());
  ASSERT_TRUE(dialog.userFocus(kEdit));
  for (Key key : {Key::Escape, Key::Enter, Key::Escape, Key::Space}) EXPECT_TRUE(dialog.userKey(key));
  EXPECT_FALSE(dialog.isEnded());
  dialog.log.clear();
  EXPECT_TRUE(dialog.userClick(kCheck));  // the form still reacts
  EXPECT_TRUE(dialog.isChecked(kCheck));
  EXPECT_TRUE(dialog.userClick(kApply));
  EXPECT_EQ(dialog.log.back(), "apply");
  // Even a Cancel button, whose end code a form only records, leaves it usable.
  EXPECT_TRUE(dialog.userClick(kIdCancel));
  EXPECT_TRUE(dialog.userClick(kCheck));
  EXPECT_FALSE(dialog.isChecked(kCheck));
  EXPECT_TRUE(dialog.userType(kEdit, "xyz"));
  EXPECT_EQ(dialog.text(kEdit), "xyz");
}

// Keys in a modal dialog: a confirmation with an edit, OK (default) and Cancel. A key
// that leaves the dialog open shows as 9.
TEST(DialogKeysTest, EnterPressesTheFocusedButtonElseTheDefaultAndEscapeCancels) {
  enum : std::uint16_t { kText = 10 };
  const struct {
    const char* name;
    int focus;  // 0: leave the first control focused (the edit)
    Key key;
    std::function<void(DialogTemplate&)> change;
    int result;
  } cases[] = {
      {"Enter in the edit", 0, Key::Enter, nullptr, kIdOk},
      {"Enter on Cancel", kIdCancel, Key::Enter, nullptr, kIdCancel},
      {"Space on Cancel", kIdCancel, Key::Space, nullptr, kIdCancel},
      {"Space in the edit", 0, Key::Space, nullptr, 9},
      {"Escape on OK", kIdOk, Key::Escape, nullptr, kIdCancel},
      {"Tab", 0, Key::Tab, nullptr, 9},
      {"Enter in a multi-line edit", 0, Key::Enter, [](DialogTemplate& t) { t.controls[0].style |= kMultiLine; }, 9},
      {"Enter, default disabled", 0, Key::Enter, [](DialogTemplate& t) { t.controls[1].style |= kDisabled; }, 9},
      {"Escape, Cancel disabled", 0, Key::Escape, [](DialogTemplate& t) { t.controls[2].style |= kDisabled; }, 9},
      {"Enter, no default button", 0, Key::Enter, [](DialogTemplate& t) { t.controls[1].style = 0; }, kIdOk},
      {"Enter, the default button hidden", 0, Key::Enter,
       [](DialogTemplate& t) {
         t.controls[1].style = 0;
         t.controls.push_back(Button(kIdOk + 20, "Other", {5, 50, 40, 14}, kDefaultButton | kHidden));
       },
       kIdOk},
      {"Enter, OK hidden and no default", 0, Key::Enter,
       [](DialogTemplate& t) { t.controls[1].style = kHidden; }, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DialogTemplate t{700, "Confirm", 120, 70, {}, {EditBox(kText, {5, 5, 100, 12}), Button(kIdOk, "OK", {5, 30, 40, 14}, kDefaultButton), Button(kIdCancel, "Cancel", {50, 30, 40, 14})}, 0, ""};
    if (c.change) c.change(t);
    HeadlessHost host;
    host.onModal(700, [&](ModalScript& s) {
      if (c.focus) ASSERT_TRUE(s.dialog.userFocus(c.focus));
      EXPECT_TRUE(s.dialog.userKey(c.key));
      if (!s.dialog.isEnded()) s.dialog.endDialog(9);
    });
    Dialog dialog(host, t);
    EXPECT_EQ(dialog.runModal(), c.result);
  }
}

TEST_F(DialogTest, TabVisitsEnabledVisibleStopsInTemplateOrderAndWraps) {
  dialog.enable(kDigits, false);
  dialog.show(kCheck, false);
  dialog.userClick(kRadioB);  // only the ticked radio button of a group is a stop
  dialog.show(kSortedList, false);
  dialog.enable(kView, false);
  ASSERT_TRUE(dialog.setFocus(kEdit));
  dialog.log.clear();
  std::vector<int> visited;
  for (int i = 0; i < 11; ++i) {
    EXPECT_TRUE(dialog.userKey(Key::Tab));
    visited.push_back(dialog.focusedControl());
  }
  EXPECT_THAT(visited, ElementsAre(kReadOnlyEdit, kRadioB, kRadioC, kList, kCombo, kSlider, kApply, kAddress,
                                   kIdOk, kIdCancel, kEdit));
  EXPECT_EQ(dialog.log.at(0), "kill 101 115");
  EXPECT_EQ(dialog.log.at(1), "set 115 101");
}

TEST_F(DialogTest, SpacePressesTheFocusedButtonOnly) {
  ASSERT_TRUE(dialog.userFocus(kCheck));
  EXPECT_TRUE(dialog.userKey(Key::Space));
  EXPECT_TRUE(dialog.isChecked(kCheck));
  ASSERT_TRUE(dialog.userFocus(kRadioC));
  EXPECT_TRUE(dialog.userKey(Key::Space));
  EXPECT_TRUE(dialog.isChecked(kRadioC));
  ASSERT_TRUE(dialog.userFocus(kEdit));
  dialog.log.clear();
  EXPECT_TRUE(dialog.userKey(Key::Space));
  EXPECT_THAT(dialog.log, ::testing::IsEmpty());
  EXPECT_EQ(dialog.text(kEdit), "abc");
}

// Pages: activation on first show, refusal to leave, refusal to come.
class Page : public PropertyPage {
 public:
  Page(Host& host, int id) : PropertyPage(host, DialogTemplate{id, "", 100, 80, {}, {Label(1, "page", {0, 0, 50, 10})}, 0, ""}) {}
  bool OnSetActive() override {
    ++activations;
    return allowEnter;
  }
  bool OnKillActive() override { return allowLeave; }
  int activations = 0;
  bool allowEnter = true;
  bool allowLeave = true;
};

TEST(PageAreaTest, PagesMayRefuseToLeaveOrToCome) {
  HeadlessHost host;
  DialogTemplate t{600, "Sheet", 300, 200, {}, {Control(kArea, ControlKind::PageArea, {10, 0, 200, 150})}, 0, ""};
  Dialog sheet(host, t);
  Page first(host, 601), second(host, 602);
  ASSERT_TRUE(sheet.create());
  EXPECT_EQ(sheet.addPage(kArea, first, "One"), 0);
  EXPECT_EQ(sheet.addPage(kArea, second, "Two"), 1);
  EXPECT_FALSE(second.isCreated());

  ASSERT_TRUE(sheet.setActivePage(kArea, 0));
  EXPECT_TRUE(first.isCreated() && first.isWindowShown());
  EXPECT_EQ(first.parentWindow(), &sheet);

  first.allowLeave = false;
  EXPECT_FALSE(sheet.userSelectPage(kArea, 1));
  EXPECT_EQ(sheet.activePage(kArea), 0);
  EXPECT_FALSE(second.isCreated());

  first.allowLeave = true;
  second.allowEnter = false;
  EXPECT_FALSE(sheet.userSelectPage(kArea, 1));
  EXPECT_EQ(sheet.activePage(kArea), 0);
  EXPECT_TRUE(first.isWindowShown());
  EXPECT_FALSE(second.isWindowShown());

  second.allowEnter = true;
  EXPECT_TRUE(sheet.userSelectPage(kArea, 1));
  EXPECT_FALSE(first.isWindowShown());
  EXPECT_EQ(second.activations, 2);

  sheet.destroyWindow();
  EXPECT_FALSE(first.isCreated());
  EXPECT_FALSE(second.isCreated());
}

TEST(PageAreaTest, APageDestroyedFirstLeavesItsArea) {
  HeadlessHost host;
  DialogTemplate t{600, "Sheet", 300, 200, {}, {Control(kArea, ControlKind::PageArea, {10, 0, 200, 150})}, 0, ""};
  Dialog sheet(host, t);
  ASSERT_TRUE(sheet.create());
  auto page = std::make_unique<Page>(host, 601);
  Page other(host, 602);
  sheet.addPage(kArea, *page, "One");
  sheet.addPage(kArea, other, "Two");
  ASSERT_TRUE(sheet.setActivePage(kArea, 1));
  page.reset();
  EXPECT_EQ(sheet.page(kArea, 0), &other);
  EXPECT_EQ(sheet.activePage(kArea), 0);
  sheet.destroyWindow();  // touches only the pages still alive
  EXPECT_FALSE(other.isCreated());
}

TEST(PageAreaTest, EnterAndEscapeInAPageGoToItsWindow) {
  for (Key key : {Key::Enter, Key::Escape}) {
    HeadlessHost host;
    DialogTemplate t{600, "Sheet", 300, 200, {}, {Control(kArea, ControlKind::PageArea, {10, 0, 200, 150}), Button(kIdOk, "OK", {10, 160, 40, 14}, kDefaultButton), Button(kIdCancel, "Cancel", {60, 160, 40, 14})}, 0, ""};
    DialogTemplate pageTemplate{601, "", 100, 80, {}, {EditBox(kEdit, {0, 0, 50, 12})}, kChildWindow, ""};
    PropertyPage page(host, pageTemplate);
    Dialog sheet(host, t);
    host.onModal(600, [&](ModalScript& s) {
      s.dialog.addPage(kArea, page, "One");
      ASSERT_TRUE(s.dialog.setActivePage(kArea, 0));
      ASSERT_TRUE(page.userFocus(kEdit));
      EXPECT_TRUE(page.userKey(key));
    });
    EXPECT_EQ(sheet.runModal(), key == Key::Enter ? kIdOk : kIdCancel);
  }
}

}  // namespace
}  // namespace kit::ui
