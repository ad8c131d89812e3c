#include "config_tool/app/c_wl_set.h"

#include <gtest/gtest.h>

#include "config_tool/app/resource.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;

constexpr RadioAddress kFixed{0x00, 0x1A, 0x2B, 0xC3, 0xD4, 0xEF};

TEST(RadioAddressTest, ParsesExactlyTwelveHexDigits) {
  EXPECT_EQ(ParseRadioAddress("001a2BC3d4EF"), kFixed);
  EXPECT_EQ(FormatRadioAddress(kFixed), "001A2BC3D4EF");
  for (const char* bad : {"001A2BC3D4EG", "001A2BC3D4E", "001A2BC3D4EF0", "", "001A2BC3D4E ", "0x1A2BC3D4EF"}) {
    EXPECT_FALSE(ParseRadioAddress(bad).has_value()) << bad;
  }
}

TEST(CWlSetTest, NoFixedAddressShowsAClearBoxAndOkKeepsAllBytesFF) {
  HeadlessHost host;
  host.onModal(IDD_WL_SET, [](ModalScript& s) {
    EXPECT_EQ(s.dialog.text(IDC_WL_PASSWORD), "123456");
    EXPECT_FALSE(s.dialog.isChecked(IDC_WL_FIX_MAC));
    EXPECT_EQ(s.dialog.text(IDC_WL_MAC), "");
    EXPECT_FALSE(s.dialog.isEnabled(IDC_WL_MAC));
    EXPECT_FALSE(s.dialog.userType(IDC_WL_MAC, "001A2BC3D4EF"));  // disabled
    s.dialog.userClick(IDOK);
  });
  CWlSet dialog(host);
  dialog.m_password = "1234567890";  // shown cut to six
  dialog.m_searchAddress = kNoFixedAddress;
  EXPECT_EQ(dialog.runModal(), 1);
  EXPECT_EQ(dialog.m_searchAddress, kNoFixedAddress);
  EXPECT_EQ(dialog.m_password, "123456");
  EXPECT_TRUE(host.modalsOf(IDD_MESS).empty());
}

TEST(CWlSetTest, AFixedAddressIsShownAndTheBoxSwitchesTheEdit) {
  HeadlessHost host;
  host.onModal(IDD_WL_SET, [](ModalScript& s) {
    EXPECT_TRUE(s.dialog.isChecked(IDC_WL_FIX_MAC));
    EXPECT_TRUE(s.dialog.isEnabled(IDC_WL_MAC));
    EXPECT_EQ(s.dialog.text(IDC_WL_MAC), "001A2BC3D4EF");
    s.dialog.userClick(IDC_WL_FIX_MAC);
    EXPECT_FALSE(s.dialog.isEnabled(IDC_WL_MAC));
    s.dialog.userClick(IDOK);  // not ticked: no fixed address
  });
  CWlSet dialog(host);
  dialog.m_password = "abcdef";
  dialog.m_searchAddress = kFixed;
  EXPECT_EQ(dialog.runModal(), 1);
  EXPECT_EQ(dialog.m_searchAddress, kNoFixedAddress);
}

TEST(CWlSetTest, BadInputShowsItsNoteAndKeepsTheDialogOpen) {
  HeadlessHost host;
  host.onModal(IDD_WL_SET, [](ModalScript& s) {
    auto& d = s.dialog;
    d.userType(IDC_WL_PASSWORD, "12345");
    d.userClick(IDOK);
    EXPECT_FALSE(d.isEnded());
    d.userType(IDC_WL_PASSWORD, "654321");
    d.userClick(IDC_WL_FIX_MAC);
    d.userType(IDC_WL_MAC, "001A2BC3D4EG");  // G is no hex digit
    d.userClick(IDOK);
    EXPECT_FALSE(d.isEnded());
    d.userType(IDC_WL_MAC, "001a2bc3d4ef");
    d.userClick(IDOK);
  });
  CWlSet dialog(host);
  dialog.m_password = "000000";
  EXPECT_EQ(dialog.runModal(), 1);
  EXPECT_EQ(dialog.m_password, "654321");
  EXPECT_EQ(dialog.m_searchAddress, kFixed);
  const auto notes = host.modalsOf(IDD_MESS);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].text(), "The system password length must be six!");
  EXPECT_EQ(notes[1].text(), "Please input the right MAC Address！");
}

TEST(CWlSetTest, CancelGivesTwo) {
  HeadlessHost host;
  host.onModal(IDD_WL_SET, [](ModalScript& s) {
    s.dialog.userType(IDC_WL_PASSWORD, "zzzzzz");
    s.dialog.userClick(IDCANCEL);
  });
  CWlSet dialog(host);
  dialog.m_password = "abcdef";
  EXPECT_EQ(dialog.runModal(), 2);
  EXPECT_EQ(dialog.m_password, "abcdef");
}

}  // namespace
}  // namespace tarnwave
