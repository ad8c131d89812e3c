// bench_firmware: updates a virtual module with a 64 KiB image at 115200 baud through
// the firmware page's worker and compares the time with the floor: per block the fixed
// 50 ms pause plus the wire time of the "&UPDD" command, its reply and the 528 block
// bytes (10 bits per byte for 8N1), plus the set-up (update mode, reset and its 200 ms
// pause, the version query). The virtual module lets every byte take its wire time in
// both directions, as a cabled module at that baud rate would.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

#include "config_tool/app/firmware_image.h"
#include "config_tool/app/firmware_worker.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/module_link.h"
#include "platform/cli/parse_command_line.h"
#include "sim/module/firmware_loader.h"
#include "sim/module/serial_module_server.h"

namespace {

using Clock = std::chrono::steady_clock;

class Reports : public tarnwave::FirmwareReports {
 public:
  void report(std::uint32_t message, std::uintptr_t, std::intptr_t lParam) override {
    std::lock_guard lock(m_mutex);
    if (message == tarnwave::WM_FW_STARTED) m_started = Clock::now();
    if (message == tarnwave::WM_FW_BLOCK_SENT) ++m_blocks;
    if (message == tarnwave::WM_FW_STOPPED || message == tarnwave::WM_FW_FINISHED || message == tarnwave::WM_FW_FAILED) {
      m_end = message;
      m_code = static_cast<int>(lParam);
      m_ended = Clock::now();
      m_changed.notify_all();
    }
  }
  void note(std::string text) override { std::fprintf(stderr, "bench_firmware: %s\n", text.c_str()); }

  bool wait(std::chrono::seconds limit) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] { return m_end != 0; });
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  Clock::time_point m_started;
  Clock::time_point m_ended;
  std::uint32_t m_end = 0;
  int m_code = 0;
  int m_blocks = 0;
};

std::string Image(std::size_t payloadSize) {
  std::string image = "\x64\x36\x55\x77" "bnch";
  for (int shift = 24; shift >= 0; shift -= 8) image += static_cast<char>((payloadSize >> shift) & 0xFF);
  image += "mark";
  for (std::size_t i = 0; i < payloadSize; ++i) image += static_cast<char>((i * 31) & 0xFF);
  return image;
}

double WireMs(std::size_t bytes, int baud) { return static_cast<double>(bytes) * 10.0 * 1000.0 / baud; }

}  // namespace

int main(int argc, char** argv) {
  using namespace tarnwave;
  CLI::App app{"Updates a virtual module's firmware (64 KiB) at 115200 baud and compares the time with the pauses "
               "and the wire time the update needs.",
               "bench_firmware"};
  int kib = 64;
  app.add_option("--kib", kib, "payload size in KiB")->check(CLI::Range(1, 2048));
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
  constexpr int kBaud = 115200;

  kitsim::ModuleFaults pacing;
  pacing.paceBaud = kBaud;
  pacing.paceIncoming = true;
  kitsim::SerialModuleServer module(kitsim::VirtualModuleAddress(0), pacing, false);
  if (!module.start()) {
    std::fprintf(stderr, "bench_firmware: cannot start a virtual module\n");
    return 1;
  }
  ModuleLink link;
  if (link.openSerial(module.portPath(), {kBaud, 0, 0, 0}) != 0 || link.startWorker() != 0) {
    std::fprintf(stderr, "bench_firmware: cannot open %s\n", module.portPath().c_str());
    return 1;
  }

  const std::size_t payload = static_cast<std::size_t>(kib) * 1024;
  const std::string image = Image(payload);
  std::FILE* file = std::tmpfile();
  if (file == nullptr || std::fwrite(image.data(), 1, image.size(), file) != image.size()) {
    std::fprintf(stderr, "bench_firmware: cannot write the image\n");
    return 1;
  }
  std::rewind(file);

  Reports reports;
  FirmwareWorker worker(reports);
  const auto begin = Clock::now();
  worker.start({&link, file, image.size(), 0});
  if (!reports.wait(std::chrono::seconds(600)) || reports.m_end != WM_FW_FINISHED) {
    std::fprintf(stderr, "bench_firmware: the update did not finish (report %u, code %d)\n", reports.m_end,
                 reports.m_code);
    return 1;
  }
  worker.shutdown();
  std::fclose(file);

  const int blocks = reports.m_blocks;
  const double measuredMs = std::chrono::duration<double, std::milli>(reports.m_ended - begin).count();
  // "AT+&UPDD=528\r", "+OK\r\n\r\n" and the block.
  const double perBlockMs = 50.0 + WireMs(13 + 7 + kFirmwareBlockSize, kBaud);
  // "AT+&UPDM=1\r" and "+OK\r\n\r\n", "AT+Z\r", the 200 ms pause, "AT+QVER=?\r" and its reply.
  const double setupMs = 200.0 + WireMs(11 + 7 + 5 + 10 + 4 + kitsim::FirmwareLoader::loadVersion().size() + 4, kBaud);
  const double floorMs = blocks * perBlockMs + setupMs;
  std::printf("bench_firmware: %d KiB image, %d blocks at %d baud\n", kib, blocks, kBaud);
  std::printf("  measured %.0f ms (%.1f ms per block), floor %.0f ms (%d x %.1f ms + set-up %.0f ms)\n", measuredMs,
              (measuredMs - setupMs) / blocks, floorMs, blocks, perBlockMs, setupMs);
  std::printf("  ratio measured/floor = %.3f\n", measuredMs / floorMs);
  // The block's bytes leave while the tool pauses (a write returns once the bytes are
  // queued for the line), so the tightest bound overlaps the two.
  const double overlapBlockMs = std::max(50.0, WireMs(kFirmwareBlockSize, kBaud)) + WireMs(13 + 7, kBaud);
  const double overlapFloorMs = blocks * overlapBlockMs + setupMs;
  std::printf("  with the block sent during the pause: floor %.0f ms (%d x %.1f ms), ratio %.3f\n", overlapFloorMs,
              blocks, overlapBlockMs, measuredMs / overlapFloorMs);
  return 0;
}
