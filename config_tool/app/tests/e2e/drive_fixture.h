#pragma once
// What the end-to-end tests of tarnwave's pages share: a private runtime folder, virtual
// modules on pseudo-terminals announced there (so the program's port list shows them),
// the driver host with a virtual dongle, and a run of `tarnwave --drive` in the folder.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config_tool/app/tests/e2e/driver_host_process.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"

extern char** environ;

namespace tarnwave_e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using kit::test_support::ProgramRun;
using Requests = std::vector<std::string>;

enum class Transport { Serial, Dongle };

inline std::string TransportName(Transport t) { return t == Transport::Serial ? "Serial" : "Dongle"; }

// The six bytes of an address as twelve upper-case hex digits.
inline std::string Hex(const std::array<std::uint8_t, 6>& a) {
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

// The same with dashes, as the information page shows it.
inline std::string DashedHex(const std::array<std::uint8_t, 6>& a) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

inline std::size_t CountOf(const Requests& requests, const std::string& request) {
  return static_cast<std::size_t>(std::count(requests.begin(), requests.end(), request));
}

inline std::string Joined(const Requests& requests) {
  std::string text;
  for (const auto& r : requests) text += r + "\n";
  return text;
}

class DriveFixture {
 protected:
  // `tag` keeps the folders of different test programs apart; it is short because the
  // driver host's socket path must fit a socket address.
  void MakeFolder(const char* tag) {
    static int serial = 0;
    dir = fs::temp_directory_path() / (std::string(tag) + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(dir);
    fs::create_directories(dir / "serial");
    ::setenv("KIT_RUNTIME_DIR", dir.c_str(), 1);
  }
  void RemoveFolder() {
    StopDriverHost();
    modules.clear();
    fs::remove_all(dir);
  }

  // A virtual module without echo whose port the program's port list shows; its replies
  // and what the program writes take their wire time at 115200 baud.
  kitsim::SerialModuleServer& AddModule() {
    kitsim::ModuleFaults paced;
    paced.paceBaud = 115200;
    paced.paceIncoming = true;
    const int index = static_cast<int>(modules.size());
    modules.push_back(std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(index), paced, false));
    EXPECT_TRUE(modules.back()->start());
    std::ofstream(dir / "serial" / ("module-" + std::to_string(index))) << modules.back()->portPath() << "\n";
    return *modules.back();
  }

  // kirva_udxd --simulate PLAN in the background, serving in this test's folder.
  void StartDriverHost(const std::string& plan) { host.start(dir, plan); }
  void StopDriverHost() { host.stop(); }

  // One module on the transport, the search pointed at it only.
  void StartOneModule(Transport transport) {
    if (transport == Transport::Serial) {
      AddModule();
      Settings("[ComSet]\nComEn=1\n[WireLessSet]\nChannel=-1\n");
    } else {
      StartDriverHost("6:1");
      Settings("[ComSet]\nComEn=0\n[WireLessSet]\nChannel=6\n");
    }
  }

  void Settings(const std::string& text) { std::ofstream(dir / "user.ini", std::ios::binary) << text; }

  // Runs tarnwave in the test folder (so ./user.ini is the folder's) with the script.
  ProgramRun Drive(const std::string& script) {
    std::ofstream(dir / "script.txt") << script;
    return kit::test_support::RunShell("cd '" + dir.string() + "' && '" +
                                       kit::test_support::ProgramPath("tarnwave").string() +
                                       "' --drive script.txt 2>&1");
  }

  static bool Has(const std::string& transcript, const std::string& lines) {
    return transcript.find(lines + "\n") != std::string::npos;
  }

  fs::path dir;
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
  tarnwave::e2e::DriverHostProcess host;
};

}  // namespace tarnwave_e2e
