// The configuration page in a small main window, against virtual modules on
// pseudo-terminals.
#include "config_tool/app/config_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config_tool/app/parameter_file.h"
#include "config_tool/app/resource.h"
#include "config_tool/app/tests/page_test_window.h"
#include "config_tool/app/tests/sample_records.h"
#include "platform/profile/tests/temp_folder.h"
#include "platform/test_support/file_contents.h"

namespace tarnwave {
namespace {

using kit::ui::HeadlessHost;
using kit::ui::ModalScript;
using testing::Notes;
using testing::PageTestWindow;
using testing::RunWithPage;
using Requests = std::vector<std::string>;

class ConfigPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::AnswerMess(m_host, m_confirm);
    m_host.onModal(IDD_FIX_COMPLETE, [this](ModalScript& s) { s.dialog.userClick(m_resetNow ? IDOK : IDCANCEL); });
  }

  // Opens the window with `modules` modules, refreshes from row 0 and runs `body`.
  void Run(int modules, const std::function<void(PageTestWindow&, ConfigPage&)>& body) {
    PageTestWindow window(m_host, modules);
    RunWithPage(m_host, window, [&] {
      ConfigPage& page = window.page;
      page.Refresh();
      for (std::size_t i = 0; i < window.devices.size(); ++i) window.newRequests(i);
      m_host.clearRecords();
      body(window, page);
    });
  }

  HeadlessHost m_host;
  bool m_confirm = true;
  bool m_resetNow = false;
};

TEST_F(ConfigPageTest, RefreshShowsTheModuleAndModifyWithNothingEditedSendsNothing) {
  Run(1, [&](PageTestWindow& w, ConfigPage& page) {
    EXPECT_EQ(w.reportedPages, std::vector<int>{0});
    EXPECT_EQ(page.text(IDC_CFG_SSID), "KitNet");
    EXPECT_EQ(page.selection(IDC_CFG_ENCRY), 0);
    EXPECT_FALSE(page.isEnabled(IDC_CFG_KEY));
    EXPECT_TRUE(page.isChecked(IDC_CFG_DHCP));
    EXPECT_FALSE(page.isEnabled(IDC_CFG_IP_ADDR));
    EXPECT_EQ(page.text(IDC_CFG_IP_ADDR), "0.0.0.0");
    EXPECT_TRUE(page.isChecked(IDC_CFG_AUTO_WORKMODE));
    EXPECT_EQ(page.text(IDC_CFG_SERVER_ADDR), "127.0.0.1");
    EXPECT_EQ(page.text(IDC_CFG_PORT), "8899");
    EXPECT_FALSE(page.isEnabled(IDC_CFG_CONNECT_TIME));
    EXPECT_EQ(page.control(IDC_CFG_REFRESH)->tooltip, "Refresh Parameters");
    EXPECT_EQ(page.m_advanced.Escape, 0x2Bu);

    ASSERT_TRUE(page.userClick(IDC_CFG_MODIFY));
    EXPECT_EQ(Notes(m_host), std::vector<std::string>{"No valid parameters to modify!"});
    EXPECT_TRUE(w.newRequests(0).empty());
    EXPECT_TRUE(page.isEnabled(IDC_CFG_MODIFY));
  });
}

TEST_F(ConfigPageTest, ModifySendsTheChangesSavesAndResetsOnRequest) {
  Run(1, [&](PageTestWindow& w, ConfigPage& page) {
    // A keyed module first.
    page.userSelect(IDC_CFG_ENCRY, 1);
    EXPECT_TRUE(page.isEnabled(IDC_CFG_KEY_INDEX_1));
    page.userSelect(IDC_CFG_KEY_TYPE, 0);
    page.userClick(IDC_CFG_KEY_INDEX_1 + 2);
    page.userType(IDC_CFG_KEY, "0123456789abcdef");  // the box keeps ten
    EXPECT_EQ(page.text(IDC_CFG_KEY), "0123456789");
    page.userClick(IDC_CFG_MODIFY);
    EXPECT_EQ(w.newRequests(0), (Requests{"AT+ENCRY=1", "AT+KEY=0,3,\"0123456789\"", "AT+PMTF"}));
    EXPECT_EQ(m_host.modalsOf(IDD_FIX_COMPLETE).size(), 1u);
    EXPECT_EQ(w.searches, 0);  // "Reset Later"

    // OPEN after the keyed module, automatic work mode off, a new SSID; "Reset Now".
    m_resetNow = true;
    page.userType(IDC_CFG_SSID, "Till 4");
    page.userSelect(IDC_CFG_ENCRY, 0);
    EXPECT_FALSE(page.isEnabled(IDC_CFG_KEY));
    EXPECT_EQ(page.text(IDC_CFG_KEY), "");
    page.userClick(IDC_CFG_AUTO_WORKMODE);
    EXPECT_FALSE(page.isEnabled(IDC_CFG_PORT));
    page.userClick(IDC_CFG_MODIFY);
    EXPECT_EQ(w.newRequests(0), (Requests{"AT+SSID=\"Till 4\"", "AT+ENCRY=0", "AT+ATM=1", "AT+PMTF", "AT+Z"}));
    EXPECT_EQ(page.m_current.KeySetting.KeyId, 0);
    EXPECT_EQ(page.m_current.AutoModeSetting.Port, 0);
    EXPECT_EQ(w.searches, 1);
    EXPECT_TRUE(Notes(m_host).empty());
    EXPECT_TRUE(page.isEnabled(IDC_CFG_MODIFY));
  });
}

TEST_F(ConfigPageTest, CollectPageChecksInOrderAndRefusesWithOneNote) {
  struct Case {
    const char* what;
    std::function<void(ConfigPage&)> edit;
    std::string note;  // empty: accepted
  };
  const auto server = [](const char* time) {
    return [time](ConfigPage& p) {
      p.userSelect(IDC_CFG_CS_MODE, 1);
      p.userType(IDC_CFG_CONNECT_TIME, time);
    };
  };
  const auto port = [](const char* text) { return [text](ConfigPage& p) { p.userType(IDC_CFG_PORT, text); }; };
  const auto wep64Hex = [](const char* key) {
    return [key](ConfigPage& p) {
      p.userSelect(IDC_CFG_ENCRY, 1);
      p.userSelect(IDC_CFG_KEY_TYPE, 0);
      p.userType(IDC_CFG_KEY, key);
    };
  };
  const std::string timeNote = "Please enter the right connect overtime time of automatic working mode ！";
  const std::string portNote = "Please input the right automatic working mode socket(1-65535)！";
  const Case cases[] = {
      {"empty SSID", [](ConfigPage& p) { p.userType(IDC_CFG_SSID, ""); }, "Please input the SSID！"},
      {"quote in SSID", [](ConfigPage& p) { p.userType(IDC_CFG_SSID, "a\"b"); },
       "The parameters contain a text with a control character or a double quote!"},
      {"empty server address", [](ConfigPage& p) { p.userType(IDC_CFG_SERVER_ADDR, ""); },
       "Please enter the automatic working mode server address!"},
      {"server, empty time-out", server(""), timeNote},
      {"server, time-out 10000001", server("10000001"), timeNote},
      {"server, time-out 10000000", server("10000000"), ""},
      {"port 0", port("0"), portNote},
      {"port 65536", port("65536"), portNote},
      {"port 1", port("1"), ""},
      {"port 65535", port("65535"), ""},
      {"auto mode off ignores the port", [](ConfigPage& p) { p.userType(IDC_CFG_PORT, "0"); p.userClick(IDC_CFG_AUTO_WORKMODE); }, ""},
      {"WEP64 hex, lower case", wep64Hex("00aabbccdd"), ""},
      {"WEP64 hex, one non-hex", wep64Hex("00aabbccdg"), "Please enter a hexadecimal Key!"},
      {"WEP64 hex, nine digits", wep64Hex("00aabbccd"), "The key length must be 10!"},
      {"WEP128 ASCII, 12", [](ConfigPage& p) { p.userSelect(IDC_CFG_ENCRY, 2); p.userSelect(IDC_CFG_KEY_TYPE, 1); p.userType(IDC_CFG_KEY, "abcdefghijkl"); },
       "The key length must be 13!"},
      {"WPA2 ASCII, 7", [](ConfigPage& p) { p.userSelect(IDC_CFG_ENCRY, 5); p.userSelect(IDC_CFG_KEY_TYPE, 1); p.userType(IDC_CFG_KEY, "1234567"); },
       "The key length must be between 8 and 63!"},
  };
  Run(1, [&](PageTestWindow&, ConfigPage& page) {
    for (const Case& c : cases) {
      page.Refresh();
      m_host.clearRecords();
      c.edit(page);
      const bool rejected = page.CollectPage();
      const std::vector<std::string> notes = Notes(m_host);
      EXPECT_EQ(rejected, !c.note.empty()) << c.what;
      EXPECT_EQ(notes, c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note}) << c.what;
    }
    // Accepted values land in the edited record.
    page.Refresh();
    server("10000000")(page);
    ASSERT_FALSE(page.CollectPage());
    EXPECT_EQ(page.m_edited.AutoModeSetting.CsMode, 1);
    EXPECT_EQ(page.m_edited.AutoModeSetting.PassTime, 10000000);
    EXPECT_EQ(page.m_edited.AutoModeSetting.Port, 8899);
  });
}

TEST_F(ConfigPageTest, AFailingSetStepStopsAndTheNextModifySendsTheRest) {
  Run(1, [&](PageTestWindow& w, ConfigPage& page) {
    page.userType(IDC_CFG_SSID, "First");
    page.m_advanced.RateSetting = {1, 12};  // refused by the module
    page.m_advanced.ReConNum = 7;
    page.userClick(IDC_CFG_MODIFY);
    EXPECT_EQ(Notes(m_host), std::vector<std::string>{"Parameter setting error,parameters is invalid!"});
    EXPECT_EQ(w.newRequests(0), (Requests{"AT+SSID=\"First\"", "AT+WBGR=1,12"}));
    EXPECT_STREQ(page.m_current.Ssid, "First");
    EXPECT_EQ(page.m_current.ReConNum, 5u);

    m_host.clearRecords();
    page.m_advanced.RateSetting = {1, 3};
    page.userClick(IDC_CFG_MODIFY);
    EXPECT_EQ(w.newRequests(0), (Requests{"AT+WBGR=1,3", "AT+WARC=7", "AT+PMTF"}));
  });
}

TEST_F(ConfigPageTest, ModifyAllGoesOnAfterAModuleThatCannotBeQueried) {
  Run(3, [&](PageTestWindow& w, ConfigPage& page) {
    w.modifyAll = true;
    w.devices[1]->setFaults({.silent = true});
    page.userType(IDC_CFG_SSID, "Fleet");
    m_confirm = false;
    page.userClick(IDC_CFG_MODIFY);
    EXPECT_EQ(Notes(m_host), std::vector<std::string>{"Are you sure to modify all the modules' parameters？"});
    EXPECT_TRUE(w.newRequests(0).empty());

    m_host.clearRecords();
    m_confirm = true;
    page.userClick(IDC_CFG_MODIFY);
    const std::vector<std::string> notes = Notes(m_host);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[1].rfind("Get 2 device parameter error,", 0), 0u) << notes[1];
    EXPECT_EQ(notes[2], "Modify parameter complete！");
    for (std::size_t row : {0u, 2u}) {
      const Requests sent = w.newRequests(row);
      ASSERT_GE(sent.size(), 2u);
      EXPECT_EQ(sent[sent.size() - 2], "AT+SSID=\"Fleet\"") << row;
      EXPECT_EQ(sent.back(), "AT+PMTF") << row;
    }
    EXPECT_EQ(w.switches.back(), 0);  // back to the module selected before
    EXPECT_EQ(m_host.modalsOf(IDD_FIX_COMPLETE).size(), 0u);
    EXPECT_TRUE(page.isEnabled(IDC_CFG_MODIFY));
  });
}

TEST_F(ConfigPageTest, RecoveryAndRefreshFailuresShowOneNote) {
  Run(1, [&](PageTestWindow& w, ConfigPage& page) {
    page.userClick(IDC_CFG_RECOVERY);
    EXPECT_EQ(w.newRequests(0), Requests{"AT+RSTF"});
    EXPECT_EQ(Notes(m_host), (std::vector<std::string>{"Sure you determine the recovery factory setting?",
                                                       "determine the recovery factory complete！"}));
    m_host.clearRecords();
    m_confirm = false;
    page.userClick(IDC_CFG_RECOVERY);
    EXPECT_TRUE(w.newRequests(0).empty());
    EXPECT_TRUE(page.isEnabled(IDC_CFG_RECOVERY));

    // Without a link: RSTF fails, Refresh shows the bare sentence and changes nothing.
    w.link.close();
    m_host.clearRecords();
    m_confirm = true;
    page.userClick(IDC_CFG_RECOVERY);
    EXPECT_EQ(Notes(m_host).back(), "determine the recovery factory failed,invalid handle!");
    m_host.clearRecords();
    page.userType(IDC_CFG_SSID, "typed");
    page.userClick(IDC_CFG_REFRESH);
    EXPECT_EQ(Notes(m_host), std::vector<std::string>{"Parameters get error,"});
    EXPECT_EQ(page.text(IDC_CFG_SSID), "KitNet");
    EXPECT_TRUE(page.isEnabled(IDC_CFG_REFRESH));
  });
}

TEST_F(ConfigPageTest, ExportThenImportShowsTheFileAndModifySendsOnlyTheDifferences) {
  kit::profile::testing::TempFolder dir;
  const std::string path = dir.file("Config.cfg");
  m_host.onFileChooser([&](const kit::ui::FileChooserRequest& r) -> std::optional<std::string> {
    EXPECT_EQ(r.filter, "Config.cfg(*.cfg)|*.cfg||");
    EXPECT_EQ(r.defaultExtension, "cfg");
    return path;
  });
  ASSERT_TRUE(WriteParameterFile(testing::FullExample(), path));
  Run(1, [&](PageTestWindow& w, ConfigPage& page) {
    page.userClick(IDC_CFG_IMPORT);
    EXPECT_EQ(Notes(m_host), (std::vector<std::string>{"Are you sure to import the parameters from the file Config.cfg？",
                                                       "Import parameters complete!"}));
    EXPECT_TRUE(m_host.fileChoosers().back().mustExist);
    EXPECT_EQ(page.m_importPath, path);
    EXPECT_EQ(page.text(IDC_CFG_SSID), "Shop_1");
    EXPECT_EQ(page.selection(IDC_CFG_ENCRY), 2);
    EXPECT_EQ(page.checkedRadioButton(IDC_CFG_KEY_INDEX_1, IDC_CFG_KEY_INDEX_4), IDC_CFG_KEY_INDEX_4);
    EXPECT_EQ(page.text(IDC_CFG_GATEWAY), "192.168.1.1");
    EXPECT_STREQ(page.m_current.Ssid, "KitNet");  // still what the module reported
    EXPECT_EQ(page.m_advanced.ChannelSetting.channel, 6);
    EXPECT_TRUE(w.newRequests(0).empty());

    // Export what the page shows: the same file comes out.
    const std::string before = kit::test_support::ReadFileBytes(path);
    m_host.clearRecords();
    page.userClick(IDC_CFG_EXPORT);
    EXPECT_EQ(Notes(m_host), std::vector<std::string>{"Export parameters is completed ,export file is Config.cfg!"});
    EXPECT_TRUE(m_host.fileChoosers().back().promptToCreate);
    EXPECT_EQ(kit::test_support::ReadFileBytes(path), before);

    page.userClick(IDC_CFG_MODIFY);
    const Requests sent = w.newRequests(0);
    EXPECT_EQ(sent.front(), "AT+SSID=\"Shop_1\"");
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "AT+ATM=0"), 0);  // unchanged: not sent
    EXPECT_EQ(sent.back(), "AT+PMTF");
  });
}

TEST_F(ConfigPageTest, ARefusedImportAndAFailedExportLeaveThePageAsItWas) {
  kit::profile::testing::TempFolder dir;
  std::string chosen = dir.file("bad.cfg");
  m_host.onFileChooser([&](const kit::ui::FileChooserRequest&) -> std::optional<std::string> { return chosen; });
  kit::profile::testing::WriteBytes(chosen, "[Wireless Set]\nSsid=Other\nEncry=9\n");
  Run(1, [&](PageTestWindow&, ConfigPage& page) {
    page.userClick(IDC_CFG_IMPORT);
    EXPECT_EQ(Notes(m_host).back(), "The Encry in profile error，import failed！");
    EXPECT_EQ(page.text(IDC_CFG_SSID), "KitNet");

    m_host.clearRecords();
    chosen = dir.file("no-folder/out.cfg");
    page.userClick(IDC_CFG_EXPORT);
    EXPECT_EQ(Notes(m_host), std::vector<std::string>{"Export parameters failed,the file out.cfg can not be written!"});

    // A page that does not collect shows no chooser.
    m_host.clearRecords();
    page.userType(IDC_CFG_SSID, "");
    page.userClick(IDC_CFG_EXPORT);
    EXPECT_TRUE(m_host.fileChoosers().empty());
  });
}

TEST_F(ConfigPageTest, AdvanceEditsTheAdvancedPartThatTheNextModifySends) {
  bool ok = false;
  m_host.onModal(IDD_ADVANCE, [&ok](ModalScript& s) {
    s.dialog.userType(IDC_ADV_PASSWORD, "abcdef");
    s.dialog.userClick(ok ? IDOK : IDC_ADV_CANCEL);
  });
  Run(1, [&](PageTestWindow& w, ConfigPage& page) {
    page.userClick(IDC_CFG_ADVANCE);
    EXPECT_STREQ(page.m_advanced.Password, "000000");  // cancelled
    ok = true;
    page.userClick(IDC_CFG_ADVANCE);
    EXPECT_STREQ(page.m_advanced.Password, "abcdef");
    EXPECT_TRUE(w.newRequests(0).empty());  // nothing before Modify
    page.userClick(IDC_CFG_MODIFY);
    EXPECT_EQ(w.newRequests(0), (Requests{"AT+PASS=\"abcdef\"", "AT+PMTF"}));
  });
}

TEST_F(ConfigPageTest, ClearPageBlanksEveryFieldAndEditingRulesSwitchControls) {
  Run(1, [&](PageTestWindow&, ConfigPage& page) {
    page.ClearPage();
    EXPECT_EQ(page.text(IDC_CFG_SSID), "");
    EXPECT_EQ(page.selection(IDC_CFG_ENCRY), -1);
    EXPECT_EQ(page.selection(IDC_CFG_KEY_TYPE), -1);
    EXPECT_FALSE(page.isChecked(IDC_CFG_DHCP));
    EXPECT_EQ(page.text(IDC_CFG_IP_ADDR), "");
    EXPECT_FALSE(page.isChecked(IDC_CFG_AUTO_WORKMODE));
    EXPECT_EQ(page.text(IDC_CFG_PORT), "");
    EXPECT_EQ(page.selection(IDC_CFG_CS_MODE), -1);

    page.Refresh();
    page.userClick(IDC_CFG_DHCP);
    EXPECT_TRUE(page.isEnabled(IDC_CFG_DNS));
    page.userSelect(IDC_CFG_CS_MODE, 1);
    EXPECT_EQ(page.text(IDC_CFG_SERVER_ADDR), "");
    EXPECT_FALSE(page.isEnabled(IDC_CFG_SERVER_ADDR));
    EXPECT_TRUE(page.isEnabled(IDC_CFG_CONNECT_TIME));
    page.userClick(IDC_CFG_AUTO_WORKMODE);
    EXPECT_FALSE(page.isEnabled(IDC_CFG_CONNECT_TIME));
    page.userClick(IDC_CFG_AUTO_WORKMODE);
    EXPECT_TRUE(page.isEnabled(IDC_CFG_CONNECT_TIME));
    EXPECT_FALSE(page.isEnabled(IDC_CFG_SERVER_ADDR));
    // Key length limits follow encryption and key type; a key type change keeps the text.
    page.userSelect(IDC_CFG_ENCRY, 3);
    EXPECT_FALSE(page.isEnabled(IDC_CFG_KEY_INDEX_1));
    page.userSelect(IDC_CFG_KEY_TYPE, 1);
    EXPECT_EQ(page.m_keyLengthLimit, 63);
    page.userType(IDC_CFG_KEY, "passphrase");
    page.userSelect(IDC_CFG_KEY_TYPE, 0);
    EXPECT_EQ(page.m_keyLengthLimit, 64);
    EXPECT_EQ(page.text(IDC_CFG_KEY), "passphrase");
    page.userSelect(IDC_CFG_ENCRY, 2);
    EXPECT_EQ(page.m_keyLengthLimit, 26);
    EXPECT_EQ(page.text(IDC_CFG_KEY), "");
  });
}

}  // namespace
}  // namespace tarnwave
