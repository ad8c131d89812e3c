// The configuration page through `tarnwave --drive`, as a real process: scripts search,
// Refresh, edit, Modify, reset, Modify All, Export and Import against virtual modules on
// pseudo-terminals and behind the driver host's virtual dongle. What a module received
// is read from its request log: the in-process serial module keeps one; for modules on
// the air the driver host's --trace file holds every request frame the dongle sent.

#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "config_tool/app/tests/e2e/driver_host_process.h"
#include "platform/test_support/file_contents.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"
#include "sim/radio/reply_frame.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using kit::test_support::ProgramRun;
using Requests = std::vector<std::string>;

enum class Transport { Serial, Dongle };

// The six bytes of a module address as the device list shows them.
std::string Hex(const std::array<std::uint8_t, 6>& a) {
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

// The requests after the last one equal to `marker` (all of them when there is none).
Requests After(const Requests& requests, const std::string& marker) {
  const auto last = std::find(requests.rbegin(), requests.rend(), marker);
  return Requests(last.base(), requests.end());
}

// What the first Modify sent: the requests after the last query of the Refresh before
// it, up to and with the first "AT+PMTF".
Requests FirstModify(const Requests& requests) {
  const auto flash = std::find(requests.begin(), requests.end(), "AT+PMTF");
  if (flash == requests.end()) return {};
  return After(Requests(requests.begin(), flash + 1), "AT+PASS=?");
}

std::string Joined(const Requests& requests) {
  std::string text;
  for (const auto& r : requests) text += r + "\n";
  return text;
}

class ConfigPageDriveTest : public ::testing::TestWithParam<Transport> {
 protected:
  void SetUp() override {
    // Short: the driver host's socket path must fit a socket address.
    static int serial = 0;
    dir = fs::temp_directory_path() / ("cpd-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(dir);
    fs::create_directories(dir / "serial");
    ::setenv("KIT_RUNTIME_DIR", dir.c_str(), 1);
  }
  void TearDown() override {
    StopDriverHost();
    modules.clear();
    fs::remove_all(dir);
  }

  // `count` modules on the transport of the test, the search pointed at them only.
  void StartModules(Transport transport, int count) {
    if (transport == Transport::Serial) {
      for (int i = 0; i < count; ++i) AddSerialModule();
      Settings("[ComSet]\nComEn=1\n[WireLessSet]\nChannel=-1\n");
    } else {
      StartDriverHost("6:" + std::to_string(count));
      Settings("[ComSet]\nComEn=0\n[WireLessSet]\nChannel=6\n");
    }
  }

  void AddSerialModule() {
    const int index = static_cast<int>(modules.size());
    modules.push_back(
        std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(index), kitsim::ModuleFaults{}, false));
    ASSERT_TRUE(modules.back()->start());
    std::ofstream(dir / "serial" / ("module-" + std::to_string(index))) << modules.back()->portPath() << "\n";
  }

  // kirva_udxd --simulate PLAN --trace FILE in the background, serving in this test's
  // runtime folder.
  void StartDriverHost(const std::string& plan) { host.start(dir, plan, {"--trace", (dir / "trace.txt").string()}); }
  void StopDriverHost() { host.stop(); }

  // Module i's address as the device list shows it.
  std::string Address(Transport transport, int i) const {
    if (transport == Transport::Serial) return Hex(kitsim::VirtualModuleAddress(i));
    char text[13];
    std::snprintf(text, sizeof text, "001EC006%04X", i + 1);
    return text;
  }

  // Every request module i received, in order, without its carriage return.
  Requests ReceivedBy(Transport transport, int i) {
    if (transport == Transport::Serial) return modules[static_cast<std::size_t>(i)]->requests();
    // The trace holds each frame the dongle sent as "OUT bulk pipe 02 len N submitted: hex...".
    Requests requests;
    std::ifstream trace(dir / "trace.txt");
    const std::string address = Address(transport, i);
    for (std::string line; std::getline(trace, line);) {
      if (line.rfind("OUT bulk", 0) != 0) continue;
      std::istringstream hex(line.substr(line.find(':') + 1));
      std::vector<std::uint8_t> frame;
      for (unsigned byte; hex >> std::hex >> byte;) frame.push_back(static_cast<std::uint8_t>(byte));
      const auto heard = sim::radio::ParseRequestFrame(frame);
      if (!heard || Hex(heard->destination) != address) continue;
      requests.push_back(heard->payload.substr(0, heard->payload.find('\r')));
    }
    return requests;
  }

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
  static std::size_t Count(const std::string& transcript, const std::string& line) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = transcript.find(line + "\n", at)) != std::string::npos; at += line.size()) ++n;
    return n;
  }

  fs::path dir;
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
  tarnwave::e2e::DriverHostProcess host;
};

// The last query of a Refresh.
const char* kLastQuery = "AT+PASS=?";

TEST_P(ConfigPageDriveTest, RefreshShowsTheModuleAndModifySendsOnlyTheChangesThenSavesAndResetNowFindsItAgain) {
  const Transport transport = GetParam();
  StartModules(transport, 1);
  const ProgramRun run = Drive(
      "click 1043\n"  // the search, which refreshes the page
      "click 1059\n"  // and Refresh once more by hand
      "show 1044\nshow 1050\nshow 1051\nshow 1052\nshow 1053\nshow 1054\nshow 1055\nshow 1056\nshow 1094\n"
      // Every group of the page edited: WEP64 with a hexadecimal key in slot 3, static
      // addresses, a UDP server with the longest connect time-out and the highest port.
      "text 1044 \"Shop 7\"\n"
      "select 1050 1\nselect 1023 0\nclick 1081\ntext 1017 \"0a1B2c3D4e\"\n"
      "click 1051\ntext 1020 \"192.168.1.9\"\ntext 1019 \"255.255.255.0\"\n"
      "select 1053 1\nselect 1054 1\ntext 1094 \"10000000\"\ntext 1056 \"65535\"\n"
      "click 1018\n"
      "show 1000\n"
      "click 1\n"     // "Reset Now"
      "show 1047\n"   // the search found it again and read it back
      "show 1044\nshow 1050\nshow 1017\nshow 1081\nshow 1051\nshow 1020\nshow 1019\nshow 1021\n"
      "show 1053\nshow 1054\nshow 1055\nshow 1094\nshow 1056\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string o = run.output;
  // The factory values of the virtual module.
  for (const char* line : {"show 1044 \"KitNet\" enabled", "show 1051 \"Enable DHCP\" enabled checked",
                           "show 1052 \"Auto Workmode\" enabled checked", "show 1055 \"127.0.0.1\" enabled",
                           "show 1056 \"8899\" enabled", "show 1094 \"\" disabled"})
    EXPECT_TRUE(Has(o, line)) << line << " in\n" << o;
  EXPECT_NE(o.find("show 1050 \"OPEN\" enabled sel=0\n"), std::string::npos) << o;
  EXPECT_NE(o.find("show 1053 \"TCP\" enabled sel=0\n"), std::string::npos) << o;
  EXPECT_NE(o.find("show 1054 \"Client\" enabled sel=0\n"), std::string::npos) << o;
  EXPECT_TRUE(Has(o, "show 1000 \"Modify parameter completed,it will valid after reset!\" enabled")) << o;
  EXPECT_EQ(o.find("open 170"), std::string::npos) << "no note on the way:\n" << o;

  // Exactly the two changed parameters, the flash, then the reset.
  const Requests received = ReceivedBy(transport, 0);
  EXPECT_EQ(FirstModify(received),
            (Requests{"AT+SSID=\"Shop 7\"", "AT+ENCRY=1", "AT+KEY=0,3,\"0a1B2c3D4e\"",
                      "AT+NIP=1,\"192.168.1.9\",\"255.255.255.0\",\"0.0.0.0\",\"0.0.0.0\"",
                      "AT+ATRM=1,1,10000000,65535", "AT+PMTF"}))
      << Joined(received);
  const auto flash = std::find(received.begin(), received.end(), "AT+PMTF");
  ASSERT_TRUE(flash != received.end() && flash + 1 != received.end() && flash[1] == "AT+Z") << Joined(received);

  // The search after the reset: the module (echoing again after its reset, over a serial
  // port) is listed again, and its Refresh shows what the flash kept.
  const Requests afterReset = After(received, "AT+Z");
  if (transport == Transport::Serial) {
    ASSERT_GE(afterReset.size(), 3u) << Joined(received);
    EXPECT_EQ(Requests(afterReset.begin(), afterReset.begin() + 3), (Requests{"AT+", "AT+E", "AT+QMAC=?"}));
  }
  EXPECT_NE(std::find(afterReset.begin(), afterReset.end(), "AT+SSID=?"), afterReset.end()) << Joined(received);
  const std::string port = transport == Transport::Serial ? modules[0]->portPath() : "CHL6";
  EXPECT_TRUE(Has(o, "show 1047 \"\" enabled sel=-1\n  0 \"1 \" \"" + port + "\" \"" + Address(transport, 0) + "\""))
      << o;
  for (const char* line :
       {"show 1044 \"Shop 7\" enabled", "show 1017 \"0a1B2c3D4e\" enabled", "show 1081 \"3\" enabled checked",
        "show 1051 \"Enable DHCP\" enabled unchecked", "show 1020 \"192.168.1.9\" enabled",
        "show 1019 \"255.255.255.0\" enabled", "show 1021 \"0.0.0.0\" enabled", "show 1055 \"\" disabled",
        "show 1094 \"10000000\" enabled", "show 1056 \"65535\" enabled"})
    EXPECT_TRUE(Has(o, line)) << line << " in\n" << o;
  EXPECT_NE(o.find("show 1050 \"WEP64\" enabled sel=1\n"), std::string::npos) << o;
  EXPECT_NE(o.find("show 1053 \"UDP\" enabled sel=1\n"), std::string::npos) << o;
  EXPECT_NE(o.find("show 1054 \"Server\" enabled sel=1\n"), std::string::npos) << o;
}

TEST_P(ConfigPageDriveTest, ModifyAllWritesEveryModuleAndSwitchesBack) {
  const Transport transport = GetParam();
  StartModules(transport, 2);
  const ProgramRun run = Drive(
      "click 1043\n"
      "click 1088\n"  // "Modify All"
      "text 1044 \"Floor2\"\n"
      "click 1051\n"  // DHCP off: the addresses shown (0.0.0.0) are sent
      "click 1018\nkey escape\n"  // Escape on the question: Cancel, nothing sent
      "click 1018\n"
      "show 1086\nclick 1\n"  // the question
      "show 1086\nclick 3\n"  // the final note
      "show 1047\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1086 \"Are you sure to modify all the modules' parameters？\" enabled"))
      << run.output;
  EXPECT_TRUE(Has(run.output, "show 1086 \"Modify parameter complete！\" enabled")) << run.output;
  EXPECT_EQ(Count(run.output, "open 170 \"Note\""), 3u) << run.output;
  EXPECT_TRUE(Has(run.output, "open 170 \"Note\"\nclose 170 2\nopen 170 \"Note\"")) << run.output;
  for (int i = 0; i < 2; ++i) {
    const Requests received = ReceivedBy(transport, i);
    EXPECT_EQ(FirstModify(received), (Requests{"AT+SSID=\"Floor2\"", "AT+NIP=1,\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\"",
                                "AT+PMTF"}))
        << "module " << i << ":\n"
        << Joined(received);
    EXPECT_EQ(std::count(received.begin(), received.end(), "AT+Z"), 0) << "Modify All resets nothing";
  }
}

TEST_P(ConfigPageDriveTest, ExportThenImportThroughFileChoosersAndModifySendsTheFilesDifferences) {
  const Transport transport = GetParam();
  StartModules(transport, 1);
  const std::string file = (dir / "Shop.cfg").string();
  const ProgramRun run = Drive(
      "click 1043\n"
      "text 1044 \"Exported\"\n"
      "text 1056 \"7001\"\n"
      "file \"" + file + "\"\nclick 1062\n"
      "show 1086\nclick 3\n"
      // Edit the page away from the file, then take the file back in.
      "text 1044 \"Other\"\n"
      "click 1052\n"
      "file \"" + file + "\"\nclick 1061\n"
      "show 1086\nclick 1\n"
      "show 1086\nclick 3\n"
      "show 1044\nshow 1052\nshow 1056\n"
      "click 1018\nclick 2\n");  // "Reset Later"
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string o = run.output;
  EXPECT_TRUE(Has(o, "show 1086 \"Export parameters is completed ,export file is Shop.cfg!\" enabled")) << o;
  EXPECT_TRUE(Has(o, "show 1086 \"Are you sure to import the parameters from the file Shop.cfg？\" enabled")) << o;
  EXPECT_TRUE(Has(o, "show 1086 \"Import parameters complete!\" enabled")) << o;
  EXPECT_TRUE(Has(o, "show 1044 \"Exported\" enabled")) << o;
  EXPECT_TRUE(Has(o, "show 1052 \"Auto Workmode\" enabled checked")) << o;
  EXPECT_TRUE(Has(o, "show 1056 \"7001\" enabled")) << o;
  const std::string saved = kit::test_support::ReadFileBytes(file);
  EXPECT_NE(saved.find("Exported"), std::string::npos) << saved;
  // The module still holds its own values: the Modify after the import sends what the
  // file changed.
  const Requests received = ReceivedBy(transport, 0);
  EXPECT_EQ(FirstModify(received),
            (Requests{"AT+SSID=\"Exported\"", "AT+ATRM=0,0,\"127.0.0.1\",7001", "AT+PMTF"}))
      << Joined(received);
}

TEST_P(ConfigPageDriveTest, KeysOnThePageAndItsBoxes) {
  const Transport transport = GetParam();
  StartModules(transport, 1);
  const ProgramRun run = Drive(
      "click 1043\n"
      // Escape on the Recovery question is Cancel: nothing is sent, no further note.
      "click 1031\nkey escape\n"
      // Enter on the focused "Modify" runs it; Escape on the completion box is "Reset Later".
      "text 1044 \"Keyed\"\n"
      "focus 1018\nkey enter\nkey escape\n"
      // Space on "Modify" again: nothing changed, the note; Enter takes its OK (which ends
      // the note with 1).
      "focus 1018\nkey space\nshow 1086\nkey enter\n"
      // Tab from the port box passes the disabled time-out box and lands on "Refresh".
      "focus 1056\nkey tab\nkey enter\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string o = run.output;
  EXPECT_TRUE(Has(o, "open 170 \"Note\"\nclose 170 2\nopen 176 \"Note\"\nclose 176 2\nopen 170 \"Note\"")) << o;
  EXPECT_TRUE(Has(o, "show 1086 \"No valid parameters to modify!\" enabled\nclose 170 1")) << o;
  const Requests received = ReceivedBy(transport, 0);
  EXPECT_EQ(std::count(received.begin(), received.end(), "AT+RSTF"), 0) << Joined(received);
  EXPECT_EQ(std::count(received.begin(), received.end(), "AT+Z"), 0) << Joined(received);
  EXPECT_EQ(std::count(received.begin(), received.end(), "AT+SSID=\"Keyed\""), 1) << Joined(received);
  EXPECT_EQ(std::count(received.begin(), received.end(), "AT+PMTF"), 1) << Joined(received);
  // The Refresh pressed by the last Enter read the module once more, after the Modify.
  const Requests afterModify = After(received, "AT+PMTF");
  EXPECT_NE(std::find(afterModify.begin(), afterModify.end(), kLastQuery), afterModify.end()) << Joined(received);
}

TEST_P(ConfigPageDriveTest, RefreshOnAModuleThatStopsAnsweringNotesTheErrorAndKeepsWhatWasShown) {
  const Transport transport = GetParam();
  StartModules(transport, 1);
  // Once the Refresh pressed by hand has begun (the second query of the SSID; the first
  // was the search's), the module goes quiet; over the air the driver host ends.
  std::atomic<bool> stop{false};
  std::thread silencer([&] {
    for (int i = 0; i < 4000 && !stop; ++i) {
      const Requests received = ReceivedBy(transport, 0);
      if (std::count(received.begin(), received.end(), "AT+SSID=?") >= 2) {
        if (transport == Transport::Serial) {
          kitsim::ModuleFaults silent;
          silent.silent = true;
          modules[0]->setFaults(silent);
        } else {
          ::kill(host.pid(), SIGTERM);
        }
        return;
      }
      std::this_thread::sleep_for(5ms);
    }
  });
  const ProgramRun run = Drive("click 1043\nclick 1059\nshow 1086\nclick 3\nshow 1044\nshow 1059\n");
  stop = true;
  silencer.join();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  // The quiet module times out; the ended host fails the next write or read, which of
  // the two depends on when it ended.
  const std::string note = transport == Transport::Serial ? "show 1086 \"Parameters get error,no response!\" enabled"
                                                          : "show 1086 \"Parameters get error,";
  EXPECT_NE(run.output.find(note), std::string::npos) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1044 \"KitNet\" enabled")) << run.output;
  EXPECT_TRUE(Has(run.output, "show 1059 \"Refresh\" enabled")) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Transports, ConfigPageDriveTest, ::testing::Values(Transport::Serial, Transport::Dongle),
                         [](const auto& info) { return info.param == Transport::Serial ? "Serial" : "Dongle"; });

}  // namespace
