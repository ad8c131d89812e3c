#include "config_tool/cli/firmware_command.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <ostream>

#include "config_tool/app/firmware_image.h"
#include "config_tool/app/firmware_worker.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/cli/terminal.h"

namespace tarnwave::cli {
namespace {

using Clock = std::chrono::steady_clock;

// The worker's reports, handed from its thread to the command's.
class ReportQueue : public FirmwareReports {
 public:
  struct Item {
    std::uint32_t message = 0;  // 0: a note
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::string note;
  };

  void report(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    push({message, wParam, lParam, {}});
  }
  void note(std::string text) override { push({0, 0, 0, std::move(text)}); }

  std::optional<Item> take(std::chrono::milliseconds wait) {
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, wait, [&] { return !m_items.empty(); })) return std::nullopt;
    Item item = std::move(m_items.front());
    m_items.pop_front();
    return item;
  }

 private:
  void push(Item item) {
    {
      std::lock_guard lock(m_mutex);
      m_items.push_back(std::move(item));
    }
    m_changed.notify_one();
  }
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<Item> m_items;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

class Progress {
 public:
  Progress(std::ostream& out, bool bar, std::uint64_t total) : m_out(out), m_bar(bar), m_total(total) {}

  void started() { m_begin = Clock::now(); }
  void blockSent() {
    ++m_sent;
    if (!m_bar) {
      m_out << "block " << m_sent << " of " << m_total << "\n" << std::flush;
      return;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - m_begin).count();
    const double rate = seconds > 0 ? static_cast<double>(m_sent) / seconds : 0;
    const double left = rate > 0 ? static_cast<double>(m_total > m_sent ? m_total - m_sent : 0) / rate : 0;
    constexpr int kWidth = 30;
    const int filled = m_total > 0 ? static_cast<int>(kWidth * std::min<std::uint64_t>(m_sent, m_total) / m_total) : kWidth;
    char line[160];
    std::snprintf(line, sizeof line, "\r[%s%s] %llu/%llu blocks  %.1f blocks/s  %d:%02d left ",
                  std::string(static_cast<std::size_t>(filled), '#').c_str(),
                  std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(),
                  static_cast<unsigned long long>(m_sent), static_cast<unsigned long long>(m_total), rate,
                  static_cast<int>(left) / 60, static_cast<int>(left) % 60);
    m_out << line << std::flush;
  }
  void end() {
    if (m_bar && m_sent > 0) m_out << "\n";
  }

 private:
  std::ostream& m_out;
  bool m_bar;
  std::uint64_t m_total;
  std::uint64_t m_sent = 0;
  Clock::time_point m_begin = Clock::now();
};

}  // namespace

int UpdateFirmware(const LinkOptions& options, const std::string& file, bool loadProgramme, bool progressBar, Output io) {
  if (options.dongle) {
    io.err << "tarnwave-cli: the firmware update needs a serial port (the module connector must use a physical "
              "serial port)\n";
    return kExitUsage;
  }
  // Only a regular file: a device or a pipe would never end.
  std::error_code error;
  std::unique_ptr<std::FILE, FileCloser> image(
      std::filesystem::is_regular_file(file, error) ? std::fopen(file.c_str(), "rb") : nullptr);
  if (!image) {
    io.err << "tarnwave-cli: Can not open the file！ (" << file << ")\n";
    return kExitModuleError;
  }
  std::uint64_t size = 0;
  if (std::fseek(image.get(), 0, SEEK_END) == 0) {
    const long end = std::ftell(image.get());
    size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
  }
  std::rewind(image.get());

  ModuleLink link;
  std::string openError;
  if (OpenLink(link, options, openError) != kResultOk) {
    io.err << "tarnwave-cli: " << openError << "\n";
    return options.port.empty() ? kExitUsage : kExitModuleError;
  }

  ReportQueue reports;
  FirmwareWorker worker(reports);
  kit::InterruptRequest interrupt;
  const std::uint64_t blocks = size > kImageHeaderSize ? FirmwareBlockCount(size - kImageHeaderSize) : 0;
  Progress progress(io.out, progressBar, blocks);
  worker.start({&link, image.get(), size, loadProgramme ? 1 : 0});
  bool stopAsked = false;
  for (;;) {
    if (interrupt.requested() && !stopAsked) {
      stopAsked = worker.requestStop();
      if (progressBar) io.out << "\nstopping after the current block...\n" << std::flush;
    }
    const std::optional<ReportQueue::Item> item = reports.take(std::chrono::milliseconds(100));
    if (!item) continue;
    if (item->message == 0) {
      io.err << "tarnwave-cli: " << item->note << "\n";
      continue;
    }
    if (item->message == WM_FW_STARTED) {
      progress.started();
      continue;
    }
    if (item->message == WM_FW_BLOCK_SENT) {
      progress.blockSent();
      continue;
    }
    progress.end();
    if (FirmwareEndLeavesUpdateMode(item->message, item->wParam)) {
      int mode = 0;
      (void)link.updateMode(CommandForm::Set, mode);
    }
    const std::string note = FirmwareEndNote(item->message, item->wParam, item->lParam);
    if (item->message == WM_FW_FINISHED) {
      io.out << note << "\n";
      return kExitOk;
    }
    (item->message == WM_FW_STOPPED ? io.out : io.err) << note << "\n";
    return kExitModuleError;
  }
}

}  // namespace tarnwave::cli
