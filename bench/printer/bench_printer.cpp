// bench_printer: how fast the virtual printer parses and renders, against what a
// real printer and its line can do.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "printer_demo/core/sample_receipts.h"
#include "sim/printer/receipt_renderer.h"
#include "sim/printer/virtual_printer.h"
#include "platform/cli/parse_command_line.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

j57::Bytes ThreeReceipts() {
  j57::Pieces all = j57::MenuReceipt(j57::PrintRoute::Serial, "2026/03/07    09:05:04 ");
  for (const auto& more : {j57::ChecksReceipt(j57::PrintRoute::Lpt2, "2026/03/07   09:05"),
                           j57::ShoppingListReceipt(j57::PrintRoute::Lpt3, "2026/03/07   09:05")})
    all.insert(all.end(), more.begin(), more.end());
  return j57::Join(all);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Speed of the virtual printer's parsing and rendering against a 115200-baud line and a real "
               "printer.",
               "bench_printer"};
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
  const j57::Bytes stream = ThreeReceipts();

  // Parsing and layout: bytes per second against a 115200-baud serial line
  // (11520 bytes/s with start and stop bits).
  std::size_t parsed = 0;
  const auto parseStart = Clock::now();
  while (Seconds(parseStart) < 1.0) {
    printer::VirtualPrinter virtualPrinter;
    virtualPrinter.feed(stream);
    virtualPrinter.finish();
    parsed += virtualPrinter.bytesParsed();
  }
  const double parseSeconds = Seconds(parseStart);
  const double bytesPerSecond = static_cast<double>(parsed) / parseSeconds;
  std::printf("parse+layout: %.0f bytes/s, %.0f x a 115200-baud line (11520 bytes/s)\n", bytesPerSecond,
              bytesPerSecond / 11520.0);

  // Rendering to PNG: receipts per second against a printer that feeds 250 mm/s
  // at 8 dots/mm (2000 dot rows per second).
  printer::VirtualPrinter virtualPrinter;
  virtualPrinter.feed(stream);
  virtualPrinter.finish();
  const auto sample = virtualPrinter.takeReceipts();
  printer::ReceiptRenderer renderer;
  const std::string path = (std::filesystem::temp_directory_path() / "bench_printer.png").string();
  int rendered = 0;
  int renderedHeight = 0;
  const auto renderStart = Clock::now();
  while (Seconds(renderStart) < 2.0) {
    for (const auto& receipt : sample) {
      if (auto error = renderer.savePng(receipt, path)) {
        std::fprintf(stderr, "bench_printer: %s\n", error->c_str());
        return 1;
      }
      ++rendered;
      renderedHeight += receipt.height;
    }
  }
  const double renderSeconds = Seconds(renderStart);
  std::filesystem::remove(path);
  const double receiptsPerSecond = rendered / renderSeconds;
  const double averageHeight = static_cast<double>(renderedHeight) / rendered;
  const double printerPerSecond = 2000.0 / averageHeight;
  std::printf("render to PNG: %.1f receipts/s (average %.0f dots long), %.1f x a 250 mm/s printer (%.1f receipts/s)\n",
              receiptsPerSecond, averageHeight, receiptsPerSecond / printerPerSecond, printerPerSecond);
  return 0;
}
