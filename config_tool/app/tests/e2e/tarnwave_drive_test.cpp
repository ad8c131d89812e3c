// tarnwave --drive as a real process: scripts act on the main window as a user would,
// against virtual modules on pseudo-terminals (announced like kit-sim's) and the driver
// host with a virtual dongle.

#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config_tool/app/tests/e2e/driver_host_process.h"
#include "platform/test_support/file_contents.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using kit::test_support::ProgramRun;

std::string Hex(const std::array<std::uint8_t, 6>& a) {
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

class TarnwaveDriveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Short: the driver host's socket path must fit a socket address.
    static int serial = 0;
    dir = fs::temp_directory_path() / ("twd-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(dir);
    fs::create_directories(dir / "serial");
    ::setenv("KIT_RUNTIME_DIR", dir.c_str(), 1);
  }
  void TearDown() override {
    StopDriverHost();
    modules.clear();
    fs::remove_all(dir);
  }

  // A virtual module whose port the program's port list shows.
  kitsim::SerialModuleServer& AddModule(kitsim::ModuleFaults faults = {}, bool echo = false) {
    const int index = static_cast<int>(modules.size());
    modules.push_back(std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(index), faults, echo));
    EXPECT_TRUE(modules.back()->start());
    std::ofstream(dir / "serial" / ("module-" + std::to_string(index))) << modules.back()->portPath() << "\n";
    return *modules.back();
  }

  // kirva_udxd --simulate PLAN in the background, serving in this test's runtime folder.
  void StartDriverHost(const std::string& plan) { host.start(dir, plan); }
  void StopDriverHost() { host.stop(); }

  void Settings(const std::string& text) { std::ofstream(dir / "user.ini", std::ios::binary) << text; }

  // Runs tarnwave in the test folder (so ./user.ini is the folder's) with the script.
  ProgramRun Drive(const std::string& script) {
    std::ofstream(dir / "script.txt") << script;
    return kit::test_support::RunShell("cd '" + dir.string() + "' && '" +
                                       kit::test_support::ProgramPath("tarnwave").string() +
                                       "' --drive script.txt 2>&1");
  }

  static bool Has(const std::string& transcript, const std::string& line) {
    return transcript.find(line + "\n") != std::string::npos;
  }

  fs::path dir;
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
  tarnwave::e2e::DriverHostProcess host;
};

const char* kNothingFoundLine =
    "show 1086 \"Can not find the device！The possible reasons are as follows :\\r\\n1.Com is invalid;The device "
    "is not connected.  \" enabled";

TEST_F(TarnwaveDriveTest, AutoSearchOverThreePortsListsTheOneThatAnswersAndTheDoubleClickOnItDoesNothing) {
  kitsim::ModuleFaults silent;
  silent.silent = true;
  AddModule(silent);
  auto& second = AddModule({}, /*echo=*/true);
  AddModule(silent);
  const ProgramRun run = Drive("click 1043\nshow 1047\ndblclick 1047 0\nshow 1088\nshow 1043\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1047 \"\" enabled sel=-1\n  0 \"1 \" \"" + second.portPath() + "\" \"" +
                                  Hex(kitsim::VirtualModuleAddress(1)) + "\""))
      << run.output;
  EXPECT_EQ(run.output.find("open 170"), std::string::npos) << "no question for the current row:\n" << run.output;
  EXPECT_TRUE(Has(run.output, "show 1088 \"Modify All\" disabled unchecked"));
  EXPECT_TRUE(Has(run.output, "show 1043 \"Search\" enabled"));
  // The echoing module got its echo switched off before the address query.
  const auto requests = second.requests();
  ASSERT_GE(requests.size(), 3u);
  EXPECT_EQ(requests[0], "AT+");
  EXPECT_EQ(requests[1], "AT+E");
  EXPECT_EQ(requests[2], "AT+QMAC=?");
}

TEST_F(TarnwaveDriveTest, RadioSearchListsChannelSixTwiceAndElevenThenSwitchesToAWirelessRow) {
  StartDriverHost("6:2,11:1");
  Settings("[ComSet]\nComEn=0\n[WireLessSet]\nChannel=0\n");
  const ProgramRun run = Drive(
      "click 1043\nshow 1047\n"
      "dblclick 1047 2\nclick 1\n"  // the question, answered with OK
      "show 1088\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output,
                  "  0 \"1 \" \"CHL6\" \"001EC0060001\"\n  1 \"2 \" \"CHL6\" \"001EC0060002\"\n  2 \"3 \" \"CHL11\" "
                  "\"001EC00B0001\""))
      << run.output;
  EXPECT_TRUE(Has(run.output, "open 170 \"Note\"")) << run.output;
  EXPECT_EQ(run.output.find("Switch failed"), std::string::npos) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1088 \"Modify All\" enabled unchecked")) << run.output;
}

TEST_F(TarnwaveDriveTest, WithoutADongleOnlyTheSerialSearchRuns) {
  AddModule();
  Settings("[WireLessSet]\nChannel=6\n");
  const ProgramRun run = Drive("show 1010\nshow 1049\nclick 1043\nshow 1047\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1010 \"Close\" disabled sel=0")) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1049 \"Set\" disabled"));
  EXPECT_NE(run.output.find("\"" + modules[0]->portPath() + "\""), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("CHL"), std::string::npos);
  // Closing wrote the channel box back: "Close".
  const std::string ini = kit::test_support::ReadFileBytes(dir / "user.ini");
  EXPECT_NE(ini.find("Channel=-1"), std::string::npos) << ini;
}

TEST_F(TarnwaveDriveTest, SettingsFileCasesAndTheFileWrittenAtClose) {
  StartDriverHost("6:1");
  struct Case {
    const char* file;  // nullptr: no file
    const char* portLine;
    const char* channelLine;
  };
  const Case cases[] = {
      {nullptr, "show 1007 \"Auto\" enabled sel=1", "show 1010 \"Close\" enabled sel=0"},
      {"[ComSet]\nComEn=9\n[WireLessSet]\nChannel=15\n", "show 1007 \"Auto\" enabled sel=1",
       "show 1010 \"Close\" enabled sel=0"},
      {"[ComSet]\nComEn=0\n[WireLessSet]\nChannel=11\nPass=abcde\n", "show 1007 \"Close\" enabled sel=0",
       "show 1010 \" 11\" enabled sel=12"},
  };
  for (const Case& c : cases) {
    fs::remove(dir / "user.ini");
    if (c.file) Settings(c.file);
    const ProgramRun run = Drive("show 1007\nshow 1010\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Has(run.output, c.portLine)) << run.output;
    EXPECT_TRUE(Has(run.output, c.channelLine)) << run.output;
  }
  // The last run wrote its values back: the built-in password for the five-character
  // one, "0" for the search address.
  const std::string ini = kit::test_support::ReadFileBytes(dir / "user.ini");
  for (const char* line : {"ComEn=0", "BaudRate=115200", "DataBit=0", "StopBit=0", "Parity=0", "Channel=11",
                           "Pass=123456", "Mac=0"}) {
    EXPECT_NE(ini.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << ini;
  }
}

TEST_F(TarnwaveDriveTest, GarbageAndSilenceEndWithTheNoteAndTheWindowStillCloses) {
  kitsim::ModuleFaults garbage, silent;
  garbage.garbage = true;
  silent.silent = true;
  AddModule(garbage);
  AddModule(silent);
  const ProgramRun run =
      Drive("click 1043\nshow 1086\nclick 3\nselect 1007 0\nclick 1043\nshow 1086\nclick 3\nshow 1047\nclose\n");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output, kNothingFoundLine)) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1086 \"Plesase select the device type, com setting or wireless setting！\" enabled"))
      << run.output;
  EXPECT_TRUE(Has(run.output, "close 102 2")) << run.output;
}

TEST_F(TarnwaveDriveTest, DonglePulledDuringTheSearchKeepsTheSerialModuleAndTheWindowCloses) {
  AddModule();
  StartDriverHost("6:1");
  Settings("[WireLessSet]\nChannel=0\n");
  std::thread puller([this] {
    std::this_thread::sleep_for(1500ms);
    ::kill(host.pid(), SIGUSR1);
  });
  const ProgramRun run = Drive("click 1043\nshow 1086\nclick 3\nshow 1047\n");
  puller.join();
  EXPECT_TRUE(Has(run.output, "show 1086 \"无线连接设备已取消，请重新搜索！\" enabled")) << run.output;
  EXPECT_NE(run.output.find("\"" + modules[0]->portPath() + "\""), std::string::npos) << run.output;
  EXPECT_TRUE(Has(run.output, "close 102 2")) << run.output;
}

}  // namespace
