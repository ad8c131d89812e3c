// The system information page in a small main window, asking a virtual module over a
// real pseudo-terminal.
#include "config_tool/app/c_info_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config_tool/app/c_fw_page.h"
#include "config_tool/app/resource.h"
#include "config_tool/app/tests/pages_test_window.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using testing::PagesTestWindow;

class CInfoPageTest : public ::testing::Test {
 protected:
  void SetUp() override { m_window.startModule(); }
  void show(int index = 3) {
    ASSERT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, 0));
    ASSERT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, index));
  }
  std::vector<std::string> shown() {
    return {m_info.text(IDC_INFO_MAC), m_info.text(IDC_INFO_HARDWARE), m_info.text(IDC_INFO_FIRMWARE),
            m_info.text(IDC_INFO_RELEASE)};
  }

  HeadlessHost m_host;
  PagesTestWindow m_window{m_host};
  CInfoPage m_info{m_host, m_window};
};

TEST_F(CInfoPageTest, EachActivationShowsTheModulesIdentityAndReportsPage3) {
  m_window.open(m_info, 3);
  show();
  const auto a = kitsim::VirtualModuleAddress(5);
  char mac[18];
  std::snprintf(mac, sizeof mac, "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  EXPECT_EQ(shown(), (std::vector<std::string>{mac, "1.2.0", "3.0.7", "2026-12-11"}));
  EXPECT_EQ(m_window.module->requests(), (std::vector<std::string>{"AT+QMAC=?", "AT+QVER=?"}));
  EXPECT_EQ(m_window.reports, std::vector<int>{3});
  show();
  EXPECT_EQ(m_window.module->requests().size(), 4u);
  EXPECT_EQ(m_window.reports, (std::vector<int>{3, 3}));
}

TEST_F(CInfoPageTest, AFailingQueryKeepsTheTextsAndThePageStillBecomesCurrent) {
  m_window.open(m_info, 3);
  show();
  const std::vector<std::string> before = shown();
  kitsim::ModuleFaults garbage;
  garbage.garbage = true;
  m_window.module->setFaults(garbage);
  show();
  EXPECT_EQ(shown(), before);
  const auto sent = m_window.module->requests();
  EXPECT_EQ(sent.back(), "AT+QMAC=?");  // no "QVER" after a failed "QMAC"
  EXPECT_EQ(m_window.reports, (std::vector<int>{3, 3}));
}

TEST_F(CInfoPageTest, DuringAFirmwareUpdateThePageSendsNothing) {
  CFwPage firmware(m_host, m_window);
  m_window.place(firmware, 2);
  m_window.open(m_info, 3);
  ASSERT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, 2));
  const std::string path = (std::filesystem::temp_directory_path() / ("info-" + std::to_string(::getpid()) + ".img")).string();
  {
    std::string image = std::string("\x64\x36\x55\x77" "abcd" "\x00\x00\x28\x00" "efgh", 16) + std::string(0x2800, 'p');
    std::ofstream(path, std::ios::binary) << image;
  }
  ASSERT_TRUE(firmware.userType(IDC_FW_PATH, path));
  ASSERT_TRUE(firmware.userClick(IDC_FW_START));
  ASSERT_TRUE(m_window.pumpUntil(m_host, [&] { return firmware.position(IDC_FW_PROGRESS) >= 1; }));
  // The module switch refreshes the page while the update runs (the user cannot reach it).
  const std::size_t sentBefore = m_window.module->requests().size();
  m_info.Refresh();
  const auto sent = m_window.module->requests();
  for (std::size_t i = sentBefore; i < sent.size(); ++i) EXPECT_EQ(sent[i], "AT+&UPDD=528");
  ASSERT_TRUE(firmware.userClick(IDC_FW_START));  // stop
  ASSERT_TRUE(m_window.pumpUntil(m_host, [&] { return !firmware.PageLocked(); }));
  m_host.pumpPosted();
  std::filesystem::remove(path);
  EXPECT_EQ(m_info.text(IDC_INFO_MAC), "");
}

}  // namespace
}  // namespace tarnwave
