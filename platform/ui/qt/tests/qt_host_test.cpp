// The Qt host under the offscreen platform: every control kind realised, user input
// reaching the dialog, modal loops, posts from other threads, timers and screenshots.
#include "platform/ui/qt/qt_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/ui/property_page.h"
#include "platform/ui/tests/test_dialogs.h"

namespace kit::ui {
namespace {

using namespace kit::ui::sample;
using ::testing::ElementsAre;

constexpr std::uint16_t kProgress = 120, kPicture = 121, kLine = 122, kGroup = 123;

DialogTemplate EveryKindTemplate() {
  DialogTemplate t = SampleTemplate();
  t.controls.push_back(Control(kProgress, ControlKind::ProgressBar, {5, 150, 100, 10}));
  t.controls.push_back(Control(kPicture, ControlKind::Picture, {110, 150, 30, 30}));
  t.controls.push_back(Control(kLine, ControlKind::EtchedLine, {5, 175, 100, 1}));
  t.controls.push_back(GroupBox(kGroup, "Port Connect", {2, 2, 140, 60}));
  t.controls.push_back(Control(kArea, ControlKind::PageArea, {150, 100, 140, 70}));
  return t;
}

class Page : public PropertyPage {
 public:
  explicit Page(Host& host) : PropertyPage(host, DialogTemplate{601, "", 120, 50, {}, {Label(1, "page text", {5, 5, 100, 10})}, 0, ""}) {}
};

class EveryKind : public SampleDialog {
 public:
  explicit EveryKind(Host& host) : SampleDialog(host, EveryKindTemplate()) {}
};

// Waits, handling events, until `done` or a generous limit passes.
template <class F>
bool WaitUntil(QtHost& host, F done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    host.processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TEST(QtHostFontTest, TheDialogFontIsInstalled) {
  EXPECT_TRUE(QtHost::fontResolves("DejaVu Sans"));
  EXPECT_FALSE(QtHost::fontResolves("No Such Family 7f3a"));
}

class QtHostTest : public ::testing::Test {
 protected:
  QtHost host;
};

TEST_F(QtHostTest, EveryControlKindIsRealisedFromTheTemplate) {
  EveryKind dialog(host);
  Page page(host);
  ASSERT_TRUE(dialog.create());
  dialog.addPage(kArea, page, "Configuration");
  dialog.setActivePage(kArea, 0);
  dialog.setColumns(kView, {{"No.", 40}, {"Port", 60}, {"Device ID", 80}});
  dialog.insertRow(kView, 0, {"1", "COM3", "001A2BC3D4EF"}, 0);
  dialog.setRange(kSlider, 64, 1024);
  dialog.setPosition(kSlider, 512);
  dialog.setRange(kProgress, 0, 10);
  dialog.setPosition(kProgress, 4);
  dialog.setAddress(kAddress, 0xC0A80001);
  dialog.setTooltip(kApply, "Commit modification");

  EXPECT_EQ(qobject_cast<QLabel*>(host.widgetFor(dialog, kLabel))->text(), "Name:");
  EXPECT_EQ(qobject_cast<QLineEdit*>(host.widgetFor(dialog, kEdit))->text(), "abc");
  EXPECT_EQ(qobject_cast<QGroupBox*>(host.widgetFor(dialog, kGroup))->title(), "Port Connect");
  EXPECT_NE(qobject_cast<QCheckBox*>(host.widgetFor(dialog, kCheck)), nullptr);
  EXPECT_NE(qobject_cast<QRadioButton*>(host.widgetFor(dialog, kRadioA)), nullptr);
  auto* combo = qobject_cast<QComboBox*>(host.widgetFor(dialog, kList));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_FALSE(combo->isEditable());
  EXPECT_TRUE(qobject_cast<QComboBox*>(host.widgetFor(dialog, kCombo))->isEditable());
  EXPECT_NE(qobject_cast<QListWidget*>(host.widgetFor(dialog, kSortedList)), nullptr);
  auto* view = qobject_cast<QTreeWidget*>(host.widgetFor(dialog, kView));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->headerItem()->text(2), "Device ID");
  EXPECT_EQ(view->topLevelItem(0)->text(1), "COM3");
  EXPECT_FALSE(view->topLevelItem(0)->icon(0).isNull());
  EXPECT_EQ(qobject_cast<QSlider*>(host.widgetFor(dialog, kSlider))->value(), 512);
  EXPECT_EQ(qobject_cast<QProgressBar*>(host.widgetFor(dialog, kProgress))->value(), 4);
  EXPECT_EQ(qobject_cast<QLineEdit*>(host.widgetFor(dialog, kAddress))->text(), "192.168.0.1");
  EXPECT_NE(qobject_cast<QFrame*>(host.widgetFor(dialog, kLine)), nullptr);
  EXPECT_NE(qobject_cast<QLabel*>(host.widgetFor(dialog, kPicture)), nullptr);
  EXPECT_EQ(host.widgetFor(dialog, kApply)->toolTip(), "Commit modification");
  auto* tabs = host.widgetFor(dialog, kArea)->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->tabText(0), "Configuration");
  EXPECT_TRUE(host.widgetFor(page, 0)->isVisibleTo(host.widgetFor(dialog, 0)));

  // Dialog units scale with the font: a control twice as wide in units is twice as wide.
  EXPECT_NEAR(host.widgetFor(dialog, kApply)->width() * 2, host.widgetFor(dialog, kEdit)->width(), 2);
  EXPECT_GT(host.widgetFor(dialog, kEdit)->width(), 80);
}

TEST_F(QtHostTest, UserInputReachesTheDialogAndChangesReachTheWidgets) {
  SampleDialog dialog(host);
  ASSERT_TRUE(dialog.create());
  auto* edit = qobject_cast<QLineEdit*>(host.widgetFor(dialog, kEdit));
  edit->clear();
  QTest::keyClicks(edit, "abcdefgh");
  EXPECT_EQ(dialog.text(kEdit), "abcdef");
  QTest::keyClicks(host.widgetFor(dialog, kDigits), "1a2");
  EXPECT_EQ(dialog.text(kDigits), "12");

  // Check boxes and radio buttons take clicks on their indicator.
  const auto onIndicator = [&](int id) { return QPoint(6, host.widgetFor(dialog, id)->height() / 2); };
  QTest::mouseClick(host.widgetFor(dialog, kCheck), Qt::LeftButton, {}, onIndicator(kCheck));
  EXPECT_TRUE(dialog.isChecked(kCheck));
  QTest::mouseClick(host.widgetFor(dialog, kRadioA), Qt::LeftButton, {}, onIndicator(kRadioA));
  QTest::mouseClick(host.widgetFor(dialog, kRadioB), Qt::LeftButton, {}, onIndicator(kRadioB));
  EXPECT_FALSE(qobject_cast<QRadioButton*>(host.widgetFor(dialog, kRadioA))->isChecked());
  EXPECT_TRUE(dialog.isChecked(kRadioB));

  auto* combo = qobject_cast<QComboBox*>(host.widgetFor(dialog, kList));
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  EXPECT_EQ(dialog.selection(kList), 1);
  EXPECT_EQ(dialog.log.back(), "sel 107");

  dialog.log.clear();
  QTest::mouseClick(host.widgetFor(dialog, kApply), Qt::LeftButton);
  EXPECT_EQ(dialog.log.back(), "apply");

  dialog.setText(kLabel, "Port:");
  dialog.enable(kApply, false);
  EXPECT_EQ(qobject_cast<QLabel*>(host.widgetFor(dialog, kLabel))->text(), "Port:");
  EXPECT_FALSE(host.widgetFor(dialog, kApply)->isEnabled());
  dialog.log.clear();
  QTest::mouseClick(host.widgetFor(dialog, kApply), Qt::LeftButton);
  EXPECT_TRUE(dialog.log.empty());
}

TEST_F(QtHostTest, ARightClickOnAControlIsTheDialogsContextMenu) {
  SampleDialog dialog(host);
  ASSERT_TRUE(dialog.create());
  QWidget* edit = host.widgetFor(dialog, kEdit);
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), edit->mapToGlobal(QPoint(3, 3)));
  QApplication::sendEvent(edit, &event);
  EXPECT_EQ(dialog.log.back(), "context 101");
}

TEST_F(QtHostTest, AModalLoopRunsUntilTheDialogEnds) {
  SampleDialog dialog(host);
  QTimer::singleShot(0, [&] {
    QTest::keyClick(host.widgetFor(dialog, 0), Qt::Key_Return);  // the default button
    QTest::mouseClick(host.widgetFor(dialog, kIdOk), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.runModal(), kIdOk);
  EXPECT_THAT(dialog.log, ::testing::Contains("apply"));
  EXPECT_EQ(host.widgetFor(dialog, 0), nullptr);

  QTimer::singleShot(0, [&] { host.widgetFor(dialog, 0)->close(); });
  EXPECT_EQ(dialog.runModal(), kIdCancel);
}

TEST_F(QtHostTest, KeysFollowTheDialogsRules) {
  SampleDialog form(host);
  ASSERT_TRUE(form.create());
  QWidget* edit = host.widgetFor(form, kEdit);
  QTest::keyClick(edit, Qt::Key_Escape);  // a form has no Cancel
  QTest::keyClick(edit, Qt::Key_Return);  // the default button
  EXPECT_FALSE(form.isEnded());
  EXPECT_EQ(form.log.back(), "apply");
  // Tab goes the dialog's way: one stop per radio group, the ticked button.
  form.userClick(kRadioB);
  ASSERT_TRUE(form.setFocus(kCheck));
  QTest::keyClick(host.widgetFor(form, kCheck), Qt::Key_Tab);
  EXPECT_EQ(form.focusedControl(), kRadioB);
  EXPECT_EQ(host.widgetFor(form, 0)->focusWidget(), host.widgetFor(form, kRadioB));
  QTest::keyClick(host.widgetFor(form, kCheck), Qt::Key_Space);
  EXPECT_TRUE(form.isChecked(kCheck));
  form.destroyWindow();

  // Enter on a focused push button presses that button, not the default one.
  SampleDialog dialog(host);
  QTimer::singleShot(0, [&] {
    dialog.setFocus(kIdCancel);
    QTest::keyClick(host.widgetFor(dialog, kIdCancel), Qt::Key_Return);
  });
  EXPECT_EQ(dialog.runModal(), kIdCancel);
  EXPECT_THAT(dialog.log, ::testing::Not(::testing::Contains("apply")));
}

class PostingDialog : public SampleDialog {
 public:
  using SampleDialog::SampleDialog;
  bool OnInitDialog() override {
    m_worker = std::thread([this] {
      for (int i = 0; i < 20; ++i) post(kMessagePing, static_cast<std::uintptr_t>(i), 0);
      post(kMessageClose);
    });
    return true;
  }
  ~PostingDialog() override {
    if (m_worker.joinable()) m_worker.join();
  }

 private:
  std::thread m_worker;
};

TEST_F(QtHostTest, PostsFromAWorkerThreadArriveInOrderOnTheWindowThread) {
  PostingDialog dialog(host);
  EXPECT_EQ(dialog.runModal(), kIdCancel);
  ASSERT_EQ(dialog.log.size(), 20u);
  EXPECT_EQ(dialog.log.front(), "ping 0 0");
  EXPECT_EQ(dialog.log.back(), "ping 19 0");
}

TEST_F(QtHostTest, TimersFireUntilKilled) {
  SampleDialog dialog(host);
  ASSERT_TRUE(dialog.create());
  dialog.log.clear();
  dialog.setTimer(3, std::chrono::milliseconds(5));
  ASSERT_TRUE(WaitUntil(host, [&] { return dialog.log.size() >= 2; }));
  EXPECT_EQ(dialog.log.front(), "timer 3");
  dialog.killTimer(3);
  dialog.log.clear();
  host.processEvents();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  host.processEvents();
  EXPECT_TRUE(dialog.log.empty());
}

TEST_F(QtHostTest, ScreenshotsShowTheWindowWithReadableText) {
  SampleDialog dialog(host);
  ASSERT_TRUE(dialog.create());
  const auto path = (std::filesystem::temp_directory_path() / "kit_ui_qt_test_shot.png").string();
  ASSERT_TRUE(host.saveScreenshot(dialog, path));
  QImage image(QString::fromStdString(path));
  std::filesystem::remove(path);
  ASSERT_FALSE(image.isNull());
  EXPECT_GE(image.width(), host.widgetFor(dialog, 0)->width());
  // The label "Name:" is drawn: its area holds dark pixels on the light background.
  const QRect label = host.widgetFor(dialog, kLabel)->geometry();
  const int titleBar = image.height() - host.widgetFor(dialog, 0)->height() - 1;
  int dark = 0;
  for (int y = label.top(); y <= label.bottom(); ++y)
    for (int x = label.left(); x <= label.right(); ++x)
      if (qGray(image.pixel(x + 1, y + titleBar)) < 100) ++dark;
  EXPECT_GT(dark, 10);
}

}  // namespace
}  // namespace kit::ui
