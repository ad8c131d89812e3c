// The main window on the headless host, with virtual modules on pseudo-terminals.
#include "config_tool/app/c_qtm42rb08_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config_tool/app/resource.h"
#include "platform/ui/headless/headless_host.h"
#include "platform/ui/property_page.h"
#include "sim/module/serial_module_server.h"

namespace tarnwave {
namespace {

namespace fs = std::filesystem;
using kit::ui::HeadlessHost;
using kit::ui::ModalScript;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("main-window-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    options.settingsPath = (dir / "user.ini").string();
    options.listPorts = [this] { return portList; };
    options.probeDongle = [this] { return dongle; };
    options.pumpEvents = [this] { host.pumpPosted(); };
  }
  void TearDown() override { fs::remove_all(dir); }

  kitsim::SerialModuleServer& AddModule(int index, kitsim::ModuleFaults faults = {}) {
    modules.push_back(std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(index), faults, false));
    EXPECT_TRUE(modules.back()->start());
    portList += modules.back()->portPath() + ";";
    return *modules.back();
  }

  // Runs the main window with `script` and closes it with its close box afterwards.
  int Run(std::function<void(CQTM42RB08Dlg&)> script) {
    host.onModal(IDD_MAIN, [&](ModalScript& s) {
      auto& window = static_cast<CQTM42RB08Dlg&>(s.dialog);
      script(window);
      if (!window.isEnded()) window.userClose();
    });
    CQTM42RB08Dlg window(host, options);
    return window.runModal();
  }

  std::vector<std::string> Row(kit::ui::Dialog& d, int row) {
    return {d.cellText(IDC_MAIN_DEVICE_LIST, row, 0), d.cellText(IDC_MAIN_DEVICE_LIST, row, 1),
            d.cellText(IDC_MAIN_DEVICE_LIST, row, 2)};
  }

  HeadlessHost host;
  fs::path dir;
  std::string portList;
  bool dongle = false;
  CQTM42RB08Dlg::Options options;
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
};

TEST_F(MainWindowTest, OpensWithItsControlsPagesAndDefaults) {
  portList = "/dev/ttyA;/dev/ttyB;";
  Run([&](CQTM42RB08Dlg& w) {
    EXPECT_EQ(w.caption(), "Tarnwave Configuration ");
    EXPECT_EQ(w.itemCount(IDC_MAIN_PORT), 4);
    EXPECT_EQ(w.itemText(IDC_MAIN_PORT, 2), "/dev/ttyA");
    EXPECT_EQ(w.selection(IDC_MAIN_PORT), 1) << "Auto";
    EXPECT_EQ(w.itemCount(IDC_MAIN_CHANNEL), 16);
    EXPECT_EQ(w.itemText(IDC_MAIN_CHANNEL, 15), " 14");
    const auto* list = w.control(IDC_MAIN_DEVICE_LIST);
    ASSERT_EQ(list->columns.size(), 3u);
    EXPECT_EQ(list->columns[0].title, "No.");
    EXPECT_EQ(list->columns[1].title, "Port");
    EXPECT_EQ(list->columns[2].title, "Device ID");
    const int width = w.controlPixels(IDC_MAIN_DEVICE_LIST).width - 4;
    EXPECT_EQ(list->columns[2].width, width / 3 + 33);
    // Four pages in order; the configuration page is active and the area disabled.
    const std::vector<std::pair<int, std::string>> pages{
        {129, "Configuration"}, {133, "FuncTest"}, {134, "UpdateFw"}, {140, "SystemInfo"}};
    for (int i = 0; i < 4; ++i) {
      ASSERT_NE(w.page(IDC_MAIN_PAGE_AREA, i), nullptr);
      EXPECT_EQ(w.page(IDC_MAIN_PAGE_AREA, i)->id(), pages[i].first);
      EXPECT_EQ(w.control(IDC_MAIN_PAGE_AREA)->pages[i].caption, pages[i].second);
    }
    EXPECT_EQ(w.activePage(IDC_MAIN_PAGE_AREA), 0);
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_PAGE_AREA));
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_MODIFY_ALL));
    // The pages get the link by message 1025.
    EXPECT_EQ(w.send(WM_GET_MODULE_LINK), reinterpret_cast<std::intptr_t>(&w.link()));
  });
}

TEST_F(MainWindowTest, WithoutADongleTheWirelessControlsAreOffForTheWholeRun) {
  std::ofstream(options.settingsPath) << "[WireLessSet]\nChannel=6\n";
  Run([&](CQTM42RB08Dlg& w) {
    EXPECT_EQ(w.selection(IDC_MAIN_CHANNEL), 0);
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_CHANNEL));
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_WIRELESS_SET));
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_CHANNEL_LABEL));
    EXPECT_EQ(w.channelChoice(), -2);
    w.LockControls(true);
    w.LockControls(false);
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_CHANNEL));
    EXPECT_TRUE(w.isEnabled(IDC_MAIN_SEARCH));
  });
}

TEST_F(MainWindowTest, SettingsFromTheFileAreShownAndWrittenBackAtClose) {
  dongle = true;
  portList = "/dev/ttyA;/dev/ttyB;/dev/ttyC;";
  std::ofstream(options.settingsPath) << "[Manufacturer]\nFw Down=1\n[ComSet]\nComEn=9\nBaudRate=9600\n"
                                          "[WireLessSet]\nChannel=6\nPass=abcde\nMac=0\n";
  Run([&](CQTM42RB08Dlg& w) {
    EXPECT_EQ(w.selection(IDC_MAIN_PORT), 1) << "entry 9 does not exist: Auto";
    EXPECT_EQ(w.selection(IDC_MAIN_CHANNEL), 7);
    EXPECT_TRUE(w.isEnabled(IDC_MAIN_WIRELESS_SET));
    EXPECT_EQ(w.channelChoice(), 6);
    EXPECT_EQ(w.FirmwareDownloadFlag(), 1);
    EXPECT_EQ(w.settings().password, DefaultWirelessPassword());
    // The user chooses the first port and "Close" for the channel.
    EXPECT_TRUE(w.userSelect(IDC_MAIN_PORT, 2));
    EXPECT_TRUE(w.userSelect(IDC_MAIN_CHANNEL, 0));
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_WIRELESS_SET));
    EXPECT_EQ(w.channelChoice(), -1);
    EXPECT_TRUE(w.userSelect(IDC_MAIN_PORT, 0));
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_PORT_SET));
    EXPECT_TRUE(w.userSelect(IDC_MAIN_PORT, 3));
    EXPECT_TRUE(w.isEnabled(IDC_MAIN_PORT_SET));
  });
  const UserSettings back = ReadUserSettings(options.settingsPath);
  EXPECT_EQ(back.comEn, 3);
  EXPECT_EQ(back.serial.baudRate, 9600);
  EXPECT_EQ(back.channel, -1);
  EXPECT_EQ(back.password, DefaultWirelessPassword());
  EXPECT_EQ(back.searchAddress, kNoFixedAddress);
  EXPECT_EQ(back.firmwareDownload, 1);
}

TEST_F(MainWindowTest, SetButtonsStoreTheDialogsValues) {
  dongle = true;
  std::ofstream(options.settingsPath) << "[WireLessSet]\nChannel=0\n";
  host.onModal(IDD_SERIES_SET, [](ModalScript& s) {
    s.dialog.userSelect(IDC_SERIES_BAUD, 4);  // 9600
    s.dialog.userSelect(IDC_SERIES_PARITY, 2);
    s.dialog.userClick(IDOK);
  });
  host.onModal(IDD_WL_SET, [](ModalScript& s) {
    s.dialog.userType(IDC_WL_PASSWORD, "qwerty");
    s.dialog.userClick(IDC_WL_FIX_MAC);
    s.dialog.userType(IDC_WL_MAC, "001EC0060002");
    s.dialog.userClick(IDOK);
  });
  Run([&](CQTM42RB08Dlg& w) {
    EXPECT_TRUE(w.userClick(IDC_MAIN_PORT_SET));
    EXPECT_TRUE(w.userClick(IDC_MAIN_WIRELESS_SET));
    EXPECT_EQ(w.settings().serial.baudRate, 9600);
    EXPECT_EQ(w.settings().serial.parityIndex, 2);
  });
  const UserSettings back = ReadUserSettings(options.settingsPath);
  EXPECT_EQ(back.serial.baudRate, 9600);
  EXPECT_EQ(back.serial.parityIndex, 2);
  EXPECT_EQ(back.password, "qwerty");
  EXPECT_EQ(FormatRadioAddress(back.searchAddress), "001EC0060002");
  EXPECT_EQ(back.channel, 0);
}

TEST_F(MainWindowTest, SearchListsTheModulesEnablesThePagesAndSwitchesOnDoubleClick) {
  AddModule(0);
  AddModule(1);
  int confirms = 0;
  host.onModal(IDD_MESS, [&](ModalScript& s) {
    EXPECT_EQ(s.dialog.text(IDC_MESS_TEXT), "Are you sure to switch to the device  2?");
    s.dialog.userClick(++confirms == 1 ? IDCANCEL : IDOK);
  });
  Run([&](CQTM42RB08Dlg& w) {
    EXPECT_TRUE(w.userClick(IDC_MAIN_SEARCH));
    ASSERT_EQ(w.rowCount(IDC_MAIN_DEVICE_LIST), 2);
    EXPECT_EQ(Row(w, 0), (std::vector<std::string>{"1 ", modules[0]->portPath(),
                                                   ModuleSearch::FormatAddress(kitsim::VirtualModuleAddress(0))}));
    EXPECT_EQ(Row(w, 1)[0], "2 ");
    EXPECT_EQ(Row(w, 1)[1], modules[1]->portPath());
    EXPECT_EQ(w.control(IDC_MAIN_DEVICE_LIST)->rows[0].icon, 0);
    EXPECT_TRUE(w.isEnabled(IDC_MAIN_PAGE_AREA));
    EXPECT_TRUE(w.isEnabled(IDC_MAIN_MODIFY_ALL));
    EXPECT_TRUE(w.isEnabled(IDC_MAIN_SEARCH));
    EXPECT_TRUE(w.closeEnabled());
    EXPECT_EQ(w.CurrentRow(), 0);
    EXPECT_TRUE(w.SerialLinkOpen());

    // The current row: no question at all.
    EXPECT_TRUE(w.userDoubleClick(IDC_MAIN_DEVICE_LIST, 0));
    EXPECT_EQ(confirms, 0);
    // Cancelled, then confirmed.
    EXPECT_TRUE(w.userDoubleClick(IDC_MAIN_DEVICE_LIST, 1));
    EXPECT_EQ(w.CurrentRow(), 0);
    EXPECT_TRUE(w.userDoubleClick(IDC_MAIN_DEVICE_LIST, 1));
    EXPECT_EQ(w.CurrentRow(), 1);
    EXPECT_EQ(confirms, 2);

    w.userClick(IDC_MAIN_MODIFY_ALL);
    EXPECT_TRUE(w.ModifyAllChecked());
    EXPECT_EQ(w.SwitchToRow(0), 0);
  });
}

TEST_F(MainWindowTest, NothingFoundShowsItsNoteAndKeepsThePagesDisabled) {
  kitsim::ModuleFaults silent;
  silent.silent = true;
  AddModule(0, silent);
  std::ofstream(options.settingsPath) << "[ComSet]\nComEn=2\n";
  Run([&](CQTM42RB08Dlg& w) {
    EXPECT_TRUE(w.userClick(IDC_MAIN_SEARCH));
    EXPECT_TRUE(w.userSelect(IDC_MAIN_PORT, 0));
    EXPECT_TRUE(w.userClick(IDC_MAIN_SEARCH));
    EXPECT_EQ(w.rowCount(IDC_MAIN_DEVICE_LIST), 0);
    EXPECT_FALSE(w.isEnabled(IDC_MAIN_PAGE_AREA));
    EXPECT_FALSE(w.link().workerRunning());
  });
  const auto notes = host.modalsOf(IDD_MESS);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].text(), "Can not find the device！The possible reasons are as follows :\r\n1.Com is invalid;The device is not connected.  ");
  EXPECT_EQ(notes[1].text(), "Plesase select the device type, com setting or wireless setting！");
}

TEST_F(MainWindowTest, PagesAreShownAgainByMessageAndTheCloseCommandCanBeHeldBack) {
  AddModule(0);
  Run([&](CQTM42RB08Dlg& w) {
    ASSERT_TRUE(w.userClick(IDC_MAIN_SEARCH));
    ASSERT_TRUE(w.userSelectPage(IDC_MAIN_PAGE_AREA, 3));
    EXPECT_EQ(w.reportedPage(), 3);
    ASSERT_TRUE(w.userSelectPage(IDC_MAIN_PAGE_AREA, 1));
    w.send(WM_SHOW_PAGE, 0);
    EXPECT_EQ(w.activePage(IDC_MAIN_PAGE_AREA), 3);
    w.send(WM_SHOW_PAGE, 2);
    EXPECT_EQ(w.activePage(IDC_MAIN_PAGE_AREA), 2);

    w.LockControls(true);
    for (int id : {IDC_MAIN_PORT_SET, IDC_MAIN_SEARCH, IDC_MAIN_PORT}) EXPECT_FALSE(w.isEnabled(id)) << id;
    w.EnableCloseCommand(false);
    w.userClose();
    w.userKey(kit::ui::Key::Escape);
    EXPECT_FALSE(w.isEnded());
    w.EnableCloseCommand(true);
    w.LockControls(false);
    for (int id : {IDC_MAIN_PORT_SET, IDC_MAIN_SEARCH, IDC_MAIN_PORT}) EXPECT_TRUE(w.isEnabled(id)) << id;
  });
  EXPECT_TRUE(fs::exists(options.settingsPath));
}

}  // namespace
}  // namespace tarnwave
