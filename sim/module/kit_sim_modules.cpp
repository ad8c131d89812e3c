// kit-sim-modules: virtual serial-to-WiFi modules on pseudo-terminals.
//
// Prints the port path of each module on its own line, announces the ports in
// $KIT_RUNTIME_DIR/serial/ so port listings find them, and serves until it gets
// SIGINT, SIGTERM or SIGHUP.

#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include "platform/serial/port_list.h"
#include "sim/module/module_kinds.h"
#include "sim/module/serial_module_server.h"
#include "platform/cli/parse_command_line.h"

namespace {

namespace fs = std::filesystem;

std::string AnnounceFile(int index) {
  return kit::SerialAnnounceDir() + "/module-" + std::to_string(::getpid()) + "-" + std::to_string(index);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Virtual serial-to-WiFi modules on pseudo-terminals", "kit-sim modules"};
  int count = 1;
  std::string echo = "on";
  kitsim::ModuleFaults faults;
  app.add_option("--count", count, "Number of modules (1 to 16)")->check(CLI::Range(1, 16));
  app.add_option("--echo", echo, "Echo of requests at start (a reset switches it on again)")
      ->check(CLI::IsMember({"on", "off"}));
  app.add_option("--pace", faults.paceBaud, "Let each reply take its wire time at this baud rate")
      ->check(CLI::Range(0, 921600));
  app.add_flag("--silent", faults.silent, "Fault: answer nothing");
  app.add_option("--delay", faults.delayMs, "Fault: wait this many milliseconds before each reply")
      ->check(CLI::Range(0, 60000));
  app.add_option("--scan-delay", faults.scanDelayMs, "Answer a network scan this many milliseconds late")
      ->check(CLI::Range(0, 60000));
  app.add_flag("--garbage", faults.garbage, "Fault: answer bytes that are no reply");
  app.add_flag("--split", faults.split, "Fault: write each reply in two parts");
  app.add_flag("--no-terminator", faults.noTerminator, "Fault: leave the reply terminator off");
  std::string kindList;
  app.add_option("--kinds", kindList,
                 "One module per comma-separated kind, instead of --count: echo (echoes requests, as after a "
                 "reset), quiet (no echo), silent (the port opens but never answers), garbage");
  kitsim::UpdateFaults update;
  app.add_option("--refuse-block", update.refuseBlock, "Firmware fault: refuse the command that carries this block")
      ->check(CLI::Range(0, 65535));
  app.add_option("--refuse-times", update.refuseTimes, "Firmware fault: how often that block is refused")
      ->check(CLI::Range(0, 100));
  app.add_option("--silent-after-block", update.silentAfterBlock, "Firmware fault: answer nothing after this block")
      ->check(CLI::Range(0, 65535));
  app.add_flag("--no-load-programme", update.noLoadProgramme, "Firmware fault: a reset never starts the load programme");
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
  std::vector<kitsim::ModuleKind> kinds(static_cast<std::size_t>(count), kitsim::ModuleKind{echo == "on", faults});
  if (!kindList.empty()) {
    std::string error;
    auto parsed = kitsim::ParseModuleKinds(kindList, faults, error);
    if (!parsed) {
      std::cerr << "kit-sim modules: " << error << "\n";
      return 2;
    }
    kinds = *parsed;
    count = static_cast<int>(kinds.size());
  }

  // Signals are taken by sigwait() below, so the serving threads never see them.
  sigset_t signals;
  sigemptyset(&signals);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, s);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  std::error_code ec;
  fs::create_directories(kit::SerialAnnounceDir(), ec);
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
  for (int i = 0; i < count; ++i) {
    const auto& kind = kinds[static_cast<std::size_t>(i)];
    auto module = std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(i), kind.faults, kind.echo);
    module->inspect([&](kitsim::ModuleEngine& engine) { engine.loader().setFaults(update); });
    if (!module->start()) {
      std::cerr << "kit-sim modules: cannot create a pseudo-terminal\n";
      return 1;
    }
    std::ofstream(AnnounceFile(i)) << module->portPath() << "\n";
    std::cout << module->portPath() << std::endl;
    modules.push_back(std::move(module));
  }

  int received = 0;
  sigwait(&signals, &received);
  for (int i = 0; i < count; ++i) fs::remove(AnnounceFile(i), ec);
  modules.clear();
  return 0;
}
