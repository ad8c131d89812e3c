// bench_module_read: reads all 23 parameters of a virtual module at 115200 baud and
// compares the time taken with the bound: the wire time of every request and reply
// at that baud rate (10 bits per byte for 8N1) plus the pause the reply gathering
// requires per reply (a read ends only after 10 ms without a byte). The request
// side has no wire time on a pseudo-terminal, so the ratio can dip below 1.

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <string>

#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/parameter_codec.h"
#include "config_tool/protocol/reply_codec.h"
#include "sim/module/serial_module_server.h"
#include "platform/cli/parse_command_line.h"

int main(int argc, char** argv) {
  using namespace tarnwave;
  using Clock = std::chrono::steady_clock;
  CLI::App app{"Reads all parameters of a virtual module at 115200 baud and compares the time with the "
               "wire time plus the pauses the protocol requires.",
               "bench_module_read"};
  int rounds = 5;
  app.add_option("ROUNDS", rounds, "how often all parameters are read")->check(CLI::Range(1, 1000000));
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
  constexpr int kBaud = 115200;
  constexpr double kReadIntervalMs = 10.0;

  // The virtual module lets each reply take its wire time, as a cabled module would.
  kitsim::ModuleFaults pacing;
  pacing.paceBaud = kBaud;
  kitsim::SerialModuleServer module(kitsim::VirtualModuleAddress(0), pacing, false);
  if (!module.start()) {
    std::fprintf(stderr, "bench_module_read: cannot start a virtual module\n");
    return 1;
  }
  ModuleLink link;
  if (link.openSerial(module.portPath(), {kBaud, 0, 0, 0}) != 0 || link.startWorker() != 0) {
    std::fprintf(stderr, "bench_module_read: cannot open %s\n", module.portPath().c_str());
    return 1;
  }

  std::size_t wireBytes = 0;
  int commands = 0;
  const auto begin = Clock::now();
  for (int round = 0; round < rounds; ++round) {
    ModuleParameters record;
    for (int id : kParameterCommands) {
      int result = link.parameter(id, CommandForm::Query, record);
      if (result != 0) {
        std::fprintf(stderr, "bench_module_read: command %d failed with %d\n", id, result);
        return 1;
      }
      wireBytes += BuildRequestText(link.request())->size();        // "AT+...=?\r"
      wireBytes += 4 + static_cast<std::size_t>(link.request().replyLength);  // "+OK=" payload "\r\n\r\n"
      ++commands;
    }
  }
  const double measuredMs = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
  const double wireMs = static_cast<double>(wireBytes) * 10.0 * 1000.0 / kBaud;
  const double boundMs = wireMs + commands * kReadIntervalMs;
  std::printf("bench_module_read: %d rounds x 23 parameters = %d commands, %zu bytes on the wire\n", rounds, commands,
              wireBytes);
  std::printf("  measured %.1f ms (%.2f ms per read of all 23), bound %.1f ms (wire %.1f ms + %d x %.0f ms gathering)\n",
              measuredMs, measuredMs / rounds, boundMs, wireMs, commands, kReadIntervalMs);
  std::printf("  ratio measured/bound = %.2f\n", measuredMs / boundMs);
  return 0;
}
