#include "config_tool/app/c_advance.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "config_tool/app/resource.h"
#include "config_tool/app/tests/sample_records.h"
#include "config_tool/protocol/parameter_keys.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

using kit::ui::Dialog;
using kit::ui::HeadlessHost;
using kit::ui::ModalScript;

std::string Dump(const ModuleParameters& r) {
  std::string text;
  for (const ParameterKey& key : ParameterKeys()) text += std::string(key.name) + "=" + FormatParameterValue(r, key) + "\n";
  return text;
}

std::vector<std::string> Notes(const HeadlessHost& host) {
  std::vector<std::string> texts;
  for (const auto& r : host.modalsOf(IDD_MESS)) texts.push_back(r.text());
  return texts;
}

// Runs the dialog on `block` with `script`; returns the result.
int RunAdvance(HeadlessHost& host, ModuleParameters& block, std::function<void(Dialog&)> script, CAdvance** out = nullptr) {
  host.onModal(IDD_ADVANCE, [script](ModalScript& s) { script(s.dialog); });
  CAdvance dialog(host);
  dialog.m_block = block;
  const int result = dialog.runModal();
  block = dialog.m_block;
  return result;
}

TEST(CAdvanceTest, OpensWithTheBlockAndOkKeepsItUnchanged) {
  HeadlessHost host;
  ModuleParameters block = testing::FullExample();
  block.ReConNum = 9;
  const std::string before = Dump(block);
  const int result = RunAdvance(host, block, [](Dialog& d) {
    EXPECT_EQ(d.text(IDC_ADV_ESCAPE), "05");
    EXPECT_EQ(d.text(IDC_ADV_BSSID), "001a2b3c4d5e");
    EXPECT_TRUE(d.isEnabled(IDC_ADV_BSSID));
    EXPECT_EQ(d.selection(IDC_ADV_CHANNEL), 5);
    EXPECT_EQ(d.selection(IDC_ADV_BAUD), 1);  // 57600
    EXPECT_EQ(d.selection(IDC_ADV_STOP_BIT), 1);
    EXPECT_FALSE(d.isEnabled(IDC_ADV_ADHOC_BUILD));  // BSS
    EXPECT_EQ(d.selection(IDC_ADV_RETRY_MODE), 2);
    EXPECT_EQ(d.text(IDC_ADV_RETRY), "9");
    EXPECT_EQ(d.position(IDC_ADV_ESCAPE_TIME_SLIDER), 15);
    EXPECT_EQ(d.position(IDC_ADV_FRAME_LENGTH_SLIDER), 256);
    EXPECT_TRUE(d.isChecked(IDC_ADV_CHANNEL_BOXES[10]));
    EXPECT_FALSE(d.isChecked(IDC_ADV_CHANNEL_BOXES[11]));
    EXPECT_EQ(d.text(IDC_ADV_WEB_PORT), "8080");
    d.userClick(IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Dump(block), before);
}

TEST(CAdvanceTest, RefusedValuesShowTheirNoteAndKeepTheDialogOpen) {
  struct Case {
    const char* what;
    std::function<void(Dialog&)> edit;
    std::string note;  // empty: accepted
  };
  const Case cases[] = {
      {"frame cycle equal to the escape time",
       [](Dialog& d) { d.userType(IDC_ADV_FRAME_CYCLE, "2000"); d.userType(IDC_ADV_ESCAPE_TIME, "2000"); },
       "Automatic group frame cycle size is less than the escape time！"},
      {"frame cycle below the escape time",
       [](Dialog& d) { d.userType(IDC_ADV_FRAME_CYCLE, "1900"); d.userType(IDC_ADV_ESCAPE_TIME, "2000"); }, ""},
      {"escape time 99", [](Dialog& d) { d.userType(IDC_ADV_ESCAPE_TIME, "99"); },
       "Escape time size is between 100ms and 10000ms！"},
      {"frame cycle 10001", [](Dialog& d) { d.userType(IDC_ADV_FRAME_CYCLE, "10001"); },
       "Automatic group frame cycle size is between 100ms and 10000ms!"},
      {"frame length 63", [](Dialog& d) { d.userType(IDC_ADV_FRAME_LENGTH, "63"); },
       "Automatic group frame length size is between 64 and 1024!"},
      {"web port 0", [](Dialog& d) { d.userType(IDC_ADV_WEB_PORT, "0"); },
       "Please input the right internal WEB server socket(1-65535)！"},
      {"escape of one digit", [](Dialog& d) { d.userType(IDC_ADV_ESCAPE, "5"); }, "Escape character is two hexadecimal number！"},
      {"escape not hex", [](Dialog& d) { d.userType(IDC_ADV_ESCAPE, "G1"); }, "Escape character is two hexadecimal number！"},
      {"BSSID of eleven", [](Dialog& d) { d.userType(IDC_ADV_BSSID, "001a2b3c4d5"); }, "Please input the right BSSID！"},
      {"retry 255", [](Dialog& d) { d.userType(IDC_ADV_RETRY, "255"); }, "Reconnection frequency is between 1 to 254 times！"},
      {"retry 0", [](Dialog& d) { d.userType(IDC_ADV_RETRY, "0"); }, "Reconnection frequency is between 1 to 254 times！"},
      {"password of five", [](Dialog& d) { d.userType(IDC_ADV_PASSWORD, "12345"); }, "The system password length must be six!"},
      {"password with a quote", [](Dialog& d) { d.userType(IDC_ADV_PASSWORD, "12\"456"); },
       "The parameters contain a text with a control character or a double quote!"},
  };
  for (const Case& c : cases) {
    HeadlessHost host;
    ModuleParameters block = testing::FullExample();
    bool openAfterOk = false;
    RunAdvance(host, block, [&](Dialog& d) {
      c.edit(d);
      d.userClick(IDOK);
      openAfterOk = !d.isEnded();
      if (openAfterOk) d.userClick(IDC_ADV_CANCEL);
    });
    EXPECT_EQ(openAfterOk, !c.note.empty()) << c.what;
    EXPECT_EQ(Notes(host), c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note}) << c.what;
  }
}

TEST(CAdvanceTest, SlidersFollowTheirEditsOnFocusLossAndEnterOnlyMovesTheFocus) {
  HeadlessHost host;
  ModuleParameters block = testing::FullExample();
  const int result = RunAdvance(host, block, [](Dialog& d) {
    d.userType(IDC_ADV_ESCAPE_TIME, "150");
    d.userFocus(IDC_ADV_ESCAPE);
    EXPECT_EQ(d.position(IDC_ADV_ESCAPE_TIME_SLIDER), 1);
    d.userType(IDC_ADV_ESCAPE_TIME, "99");
    d.userFocus(IDC_ADV_ESCAPE);
    EXPECT_EQ(d.position(IDC_ADV_ESCAPE_TIME_SLIDER), 1);  // out of range: the slider stays
    d.userSlide(IDC_ADV_ESCAPE_TIME_SLIDER, 30);
    EXPECT_EQ(d.text(IDC_ADV_ESCAPE_TIME), "3000");
    d.userSlide(IDC_ADV_FRAME_LENGTH_SLIDER, 700);
    EXPECT_EQ(d.text(IDC_ADV_FRAME_LENGTH), "700");
    // Leaving for "Cancel" does not synchronise.
    d.userType(IDC_ADV_FRAME_CYCLE, "900");
    d.setFocus(IDC_ADV_CANCEL);
    EXPECT_EQ(d.position(IDC_ADV_FRAME_CYCLE_SLIDER), 2);
    // Enter in a framing edit moves the focus to "OK" and keeps the dialog open.
    d.userType(IDC_ADV_FRAME_LENGTH, "512");
    d.userKey(kit::ui::Key::Enter);
    EXPECT_FALSE(d.isEnded());
    EXPECT_EQ(d.focusedControl(), IDOK);
    EXPECT_EQ(d.position(IDC_ADV_FRAME_LENGTH_SLIDER), 512);
    d.userKey(kit::ui::Key::Enter);
    EXPECT_TRUE(d.isEnded());
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(block.EscapeTime, 3000u);
  EXPECT_EQ(block.EscapeLength, 512u);
  EXPECT_EQ(block.EscapePeriod, 900u);
}

TEST(CAdvanceTest, ListsAndSwitchesBuildTheBlock) {
  HeadlessHost host;
  ModuleParameters block = testing::FullExample();
  block.RateSetting = {0, 11};
  RunAdvance(host, block, [](Dialog& d) {
    d.userSelect(IDC_ADV_BG_MODE, 1);  // "Only B": four rates, "11M" chosen
    EXPECT_EQ(d.itemCount(IDC_ADV_MAX_RATE), 4);
    EXPECT_EQ(d.selection(IDC_ADV_MAX_RATE), 3);
    d.userClick(IDC_ADV_WEB);  // unticked: the port text is ignored
    EXPECT_FALSE(d.isEnabled(IDC_ADV_WEB_PORT));
    d.userSelect(IDC_ADV_RETRY_MODE, 1);  // "Forever" whatever the edit holds
    d.userSelect(IDC_ADV_NET_MODE, 1);
    d.userClick(IDC_ADV_ADHOC_BUILD);
    d.userSelect(IDC_ADV_CHANNEL_MODE, 0);
    d.userSelect(IDC_ADV_BSSID_MODE, 0);
    d.userSelect(IDC_ADV_STOP_BIT, 0);
    d.userClick(IDC_ADV_CHANNEL_BOXES[13]);
    d.userClick(IDOK);
  });
  EXPECT_EQ(block.RateSetting.BgMode, 1);
  EXPECT_EQ(block.RateSetting.MaxRate, 3);
  EXPECT_EQ(block.WebSetting.WebsEn, 0);
  EXPECT_EQ(block.WebSetting.WebsPort, 0);
  EXPECT_EQ(block.ReConNum, 255u);
  EXPECT_EQ(block.NetType, 1u);
  EXPECT_EQ(block.AdhocAutoBuild, 1u);
  EXPECT_EQ(block.ChannelSetting.enable, 0);
  EXPECT_EQ(block.BssidSetting.enable, 0);
  EXPECT_EQ(block.UartSetting.StopBit, 0);
  EXPECT_EQ(block.ChList, 0x27FFu);

  // "Never" gives 0; a rate the list cannot show is kept as it was.
  block.RateSetting = {1, 7};
  RunAdvance(host, block, [](Dialog& d) {
    EXPECT_EQ(d.selection(IDC_ADV_MAX_RATE), -1);
    d.userSelect(IDC_ADV_RETRY_MODE, 2);
    d.userType(IDC_ADV_RETRY, "12");
    d.userSelect(IDC_ADV_RETRY_MODE, 0);
    d.userClick(IDOK);
  });
  EXPECT_EQ(block.ReConNum, 0u);
  EXPECT_EQ(block.RateSetting.MaxRate, 7);
}

TEST(CAdvanceTest, CancelEscapeAndTheCloseBoxDiscard) {
  for (auto leave : std::vector<std::function<void(Dialog&)>>{[](Dialog& d) { d.userClick(IDC_ADV_CANCEL); },
                                                             [](Dialog& d) { d.userKey(kit::ui::Key::Escape); },
                                                             [](Dialog& d) { d.userClose(); }}) {
    HeadlessHost host;
    ModuleParameters block = testing::FullExample();
    const std::string before = Dump(block);
    const int result = RunAdvance(host, block, [&](Dialog& d) {
      d.userType(IDC_ADV_PASSWORD, "zzzzzz");
      leave(d);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Dump(block), before);
  }
}

}  // namespace
}  // namespace tarnwave
