// bench_search: the main window's search over four serial ports (one module, three
// silent ports) and the fourteen radio channels (modules on channels 6 and 11), against
// its floor: the waits the search must make plus the wire time of what the answering
// module sends at 115200 baud. Prints the ratio (1.0 is the floor).

#include <CLI/CLI.hpp>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "config_tool/links/dongle_link_values.h"
#include "config_tool/links/module_search.h"
#include "config_tool/protocol/module_link.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/in_process_device.h"
#include "dongle_driver/host/simulation_plan.h"
#include "platform/cli/parse_command_line.h"
#include "sim/module/serial_module_server.h"
#include "sim/radio/engine_answerer.h"
#include "sim/radio/virtual_dongle.h"

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  CLI::App app{"The module search over 4 serial ports and 14 radio channels, as a ratio to its floor.",
               "bench_search"};
  int runs = 3;
  app.add_option("RUNS", runs, "searches to time")->check(CLI::Range(1, 100));
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
  char dir[] = "/tmp/bench-search.XXXXXX";
  if (!::mkdtemp(dir)) return 1;
  ::setenv("KIT_RUNTIME_DIR", dir, 1);

  kirva::DriverHost host;
  if (host.load() != wdm::Status::Success) return 1;
  auto medium = std::make_shared<sim::radio::RadioMedium>();
  for (std::uint16_t channel : {6, 11}) {
    const auto address = kirva::SimulatedModuleAddress(channel, 0);
    medium->add(std::make_shared<sim::radio::RadioModule>(address, channel,
                                                          std::make_shared<sim::radio::EngineAnswerer>(address, "")));
  }
  if (host.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, medium)) !=
      wdm::Status::Success)
    return 1;
  kirva::InProcessRegistration registration(host);

  kitsim::ModuleFaults silent;
  silent.silent = true;
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> ports;
  tarnwave::SearchRequest request;
  request.portChoice = 1;
  request.channelChoice = 0;
  for (int i = 0; i < 4; ++i) {
    ports.push_back(std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(i),
                                                                 i == 1 ? kitsim::ModuleFaults{} : silent, false));
    if (!ports.back()->start()) return 1;
    request.portList += ports.back()->portPath() + ";";
  }

  // Waits: three silent ports (100 ms after the write, 100 ms after each of five empty
  // reads), the answering port (100 ms after the write), 14 channels of 200 + 5 ms.
  const double waits = 3 * 600.0 + 100.0 + 14 * 205.0;
  // Wire time of the answering module at 115200 baud (10 bits a byte): "AT+\r" and its
  // "+OK\r\n\r\n", the address query and its reply, the version query and its reply.
  const double bytes = 4 + 7 + 10 + 20 + 10 + 33;
  const double wire = bytes * 10.0 * 1000.0 / 115200.0;
  const double floor = waits + wire;

  tarnwave::ModuleLink link;
  tarnwave::SleepingListener listener;
  tarnwave::ModuleSearch search(link, listener, nullptr);
  double best = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    const auto result = search.search(request);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (result.outcome != tarnwave::SearchOutcome::Found || search.rows().size() != 3) {
      std::fprintf(stderr, "bench_search: the search found %zu rows, expected 3\n", search.rows().size());
      return 1;
    }
    if (run == 0 || ms < best) best = ms;
  }
  search.shutDown();
  ports.clear();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  std::printf("search 4 ports + 14 channels: %.0f ms (floor %.0f ms: waits %.0f + wire %.1f), ratio %.2f\n", best,
              floor, waits, wire, best / floor);
  return 0;
}
