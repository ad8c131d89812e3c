#include "config_tool/app/c_series_set.h"

#include <gtest/gtest.h>

#include "config_tool/app/resource.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;

TEST(CSeriesSetTest, TheBaudRateSelectsItsEntryAndUnknownRatesSelect115200) {
  const std::pair<int, int> cases[] = {{115200, 0}, {57600, 1}, {9600, 4}, {1200, 7}, {0, 0}, {14400, 0}, {-9600, 0}};
  for (const auto& [rate, entry] : cases) {
    HeadlessHost host;
    host.onModal(IDD_SERIES_SET, [entry = entry](ModalScript& s) {
      EXPECT_EQ(s.dialog.selection(IDC_SERIES_BAUD), entry);
      s.dialog.userClick(IDOK);
    });
    CSeriesSet dialog(host);
    dialog.m_baudRate = rate;
    EXPECT_EQ(dialog.runModal(), 1);
    EXPECT_EQ(dialog.m_baudRate, rate == 0 || rate == 14400 || rate == -9600 ? 115200 : rate) << rate;
  }
}

TEST(CSeriesSetTest, OkTakesTheRateAndTheThreeIndexes) {
  HeadlessHost host;
  host.onModal(IDD_SERIES_SET, [](ModalScript& s) {
    auto& d = s.dialog;
    EXPECT_EQ(d.text(IDC_SERIES_DATA_BIT), "7");
    EXPECT_EQ(d.text(IDC_SERIES_PARITY), "Even");
    EXPECT_EQ(d.text(IDC_SERIES_STOP_BIT), "2");
    d.userSelect(IDC_SERIES_BAUD, 6);
    d.userSelect(IDC_SERIES_DATA_BIT, 0);
    d.userSelect(IDC_SERIES_PARITY, 1);
    d.userSelect(IDC_SERIES_STOP_BIT, 0);
    d.userClick(IDOK);
  });
  CSeriesSet dialog(host);
  dialog.m_dataBitIndex = 1;
  dialog.m_parityIndex = 2;
  dialog.m_stopBitIndex = 1;
  ASSERT_EQ(dialog.runModal(), 1);
  EXPECT_EQ(dialog.m_baudRate, 2400);
  EXPECT_EQ(dialog.m_dataBitIndex, 0);
  EXPECT_EQ(dialog.m_parityIndex, 1);
  EXPECT_EQ(dialog.m_stopBitIndex, 0);
}

TEST(CSeriesSetTest, BoxesWithoutSelectionGiveTheFallbacks) {
  HeadlessHost host;
  host.onModal(IDD_SERIES_SET, [](ModalScript& s) {
    for (int id : {IDC_SERIES_BAUD, IDC_SERIES_DATA_BIT, IDC_SERIES_PARITY, IDC_SERIES_STOP_BIT})
      s.dialog.setSelection(id, -1);
    s.dialog.userClick(IDOK);
  });
  CSeriesSet dialog(host);
  dialog.m_baudRate = 9600;
  dialog.m_parityIndex = 9;  // out of range: nothing selected on opening
  ASSERT_EQ(dialog.runModal(), 1);
  EXPECT_EQ(dialog.m_baudRate, 115200);
  EXPECT_EQ(dialog.m_parityIndex, 0);
  EXPECT_EQ(dialog.m_dataBitIndex, 0);
}

TEST(CSeriesSetTest, CancelChangesNothing) {
  HeadlessHost host;
  host.onModal(IDD_SERIES_SET, [](ModalScript& s) {
    s.dialog.userSelect(IDC_SERIES_BAUD, 3);
    s.dialog.userClose();
  });
  CSeriesSet dialog(host);
  dialog.m_baudRate = 57600;
  EXPECT_EQ(dialog.runModal(), 2);
  EXPECT_EQ(dialog.m_baudRate, 57600);
}

}  // namespace
}  // namespace tarnwave
