// bench_config_page: the configuration page's Refresh (its parameter steps in query form)
// and Modify (every step that differs, then PMTF) against a virtual module at 115200 baud whose replies take their wire time,
// as ratios to the bound: the wire time of requests and replies (10 bits per byte, 8N1)
// plus the pause the reply gathering requires per reply (a read ends only after 10 ms
// without a byte). The request side has no wire time on a pseudo-terminal, so a ratio
// can dip below 1.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "config_tool/app/parameter_steps.h"
#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/reply_codec.h"
#include "platform/cli/parse_command_line.h"
#include "sim/module/serial_module_server.h"

namespace {

using namespace tarnwave;
using Clock = std::chrono::steady_clock;
constexpr int kBaud = 115200;
constexpr double kGatherMs = 10.0;

// Two records that differ in every step's part but the network type: both run the mode
// steps (a key, an ad-hoc network, the automatic work mode), so a Modify sends 22 sets.
ModuleParameters Variant(int v) {
  ModuleParameters r;
  std::strcpy(r.Ssid, v == 0 ? "Bench_A" : "Bench_BB");
  r.Encry = v == 0 ? 1 : 2;
  r.KeySetting = {1, 1 + v, {}};
  std::strcpy(r.KeySetting.Key, v == 0 ? "abcde" : "abcdefghijklm");
  r.NetSetting.addressMode = 1;
  std::strcpy(r.NetSetting.IpAddr, v == 0 ? "10.0.0.5" : "10.0.0.6");
  std::strcpy(r.NetSetting.Mask, "255.0.0.0");
  std::strcpy(r.NetSetting.NetGate, "10.0.0.1");
  std::strcpy(r.NetSetting.Dns, "10.0.0.1");
  r.ModeEn = 0;
  r.AutoModeSetting.Protocol = v;
  std::strcpy(r.AutoModeSetting.Host, "10.0.0.2");
  r.AutoModeSetting.Port = 9000 + v;
  r.BssidSetting = {1, {0, 1, 2, 3, 4, static_cast<std::uint8_t>(5 + v)}, {}};
  r.ChannelSetting = {1, 6 + v};
  r.ChList = 0x7FF + static_cast<std::uint32_t>(v);
  r.NetType = 1;
  r.AdhocAutoBuild = static_cast<std::uint32_t>(v);
  r.RateSetting = {v, 3};
  r.UartSetting = {115200, v, 0, 0};
  r.EscapePeriod = 200 + static_cast<std::uint32_t>(v);
  r.EscapeLength = 256 + static_cast<std::uint32_t>(v);
  r.Escape = 0x1B + static_cast<std::uint32_t>(v);
  r.EscapeTime = 1500 + static_cast<std::uint32_t>(v);
  r.WebSetting = {1, 8080 + v};
  r.Gpio1Mode = static_cast<std::uint32_t>(v);
  r.ComMode = v;
  r.RoamEn = static_cast<std::uint32_t>(v);
  r.ReConNum = 9 + static_cast<std::uint32_t>(v);
  std::strcpy(r.Password, v == 0 ? "abc123" : "abc124");
  return r;
}

struct Tally {
  std::size_t wireBytes = 0;
  int replies = 0;
  double measuredMs = 0;
  void print(const char* what, int rounds) const {
    const double wireMs = static_cast<double>(wireBytes) * 10.0 * 1000.0 / kBaud;
    const double boundMs = wireMs + replies * kGatherMs;
    std::printf("  %s: %d rounds, %d commands, %zu bytes on the wire\n", what, rounds, replies, wireBytes);
    std::printf("    measured %.1f ms (%.1f ms a round), bound %.1f ms (wire %.1f ms + %d x %.0f ms gathering)\n",
                measuredMs, measuredMs / rounds, boundMs, wireMs, replies, kGatherMs);
    std::printf("    ratio measured/bound = %.2f\n", measuredMs / boundMs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Times the configuration page's Refresh and Modify against a virtual module at 115200 baud and "
               "compares them with the wire time plus the pauses the protocol requires.",
               "bench_config_page"};
  int rounds = 3;
  app.add_option("ROUNDS", rounds, "how often each is run")->check(CLI::Range(1, 100000));
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

  kitsim::ModuleFaults pacing;
  pacing.paceBaud = kBaud;
  kitsim::SerialModuleServer module(kitsim::VirtualModuleAddress(1), pacing, false);
  ModuleLink link;
  if (!module.start() || link.openSerial(module.portPath(), {kBaud, 0, 0, 0}) != 0 || link.startWorker() != 0) {
    std::fprintf(stderr, "bench_config_page: cannot reach a virtual module\n");
    return 1;
  }
  const auto count = [&link](Tally& tally, bool query) {
    return [&link, &tally, query](int) {
      tally.wireBytes += BuildRequestText(link.request())->size();
      tally.wireBytes += query ? 4 + static_cast<std::size_t>(link.request().replyLength) : 7;  // "+OK\r\n\r\n"
      ++tally.replies;
    };
  };

  Tally refresh;
  ModuleParameters current;
  ModuleParameters edited;
  bool changed = false;
  for (int round = 0; round < rounds; ++round) {
    const auto begin = Clock::now();
    const int result = RunParameterSteps(link, CommandForm::Query, current, edited, changed, count(refresh, true));
    refresh.measuredMs += std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
    if (result != 0) {
      std::fprintf(stderr, "bench_config_page: Refresh failed with %d\n", result);
      return 1;
    }
  }

  Tally modify;
  for (int round = 0; round < 2 * rounds; ++round) {
    edited = Variant(round % 2);
    const auto begin = Clock::now();
    int result = RunParameterSteps(link, CommandForm::Set, current, edited, changed, count(modify, false));
    if (result == 0) result = link.writeFlash();
    modify.measuredMs += std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
    if (result != 0) {
      std::fprintf(stderr, "bench_config_page: Modify failed with %d\n", result);
      return 1;
    }
    modify.wireBytes += std::strlen("AT+PMTF\r") + 7;
    ++modify.replies;
  }
  std::printf("bench_config_page at %d baud\n", kBaud);
  refresh.print("Refresh (queries)", rounds);
  modify.print("Modify (sets + PMTF)", 2 * rounds);
  return 0;
}
