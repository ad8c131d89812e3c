// kit-sim-printer: a virtual receipt printer on a pseudo-terminal or a FIFO that
// renders every receipt it receives into a folder.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

#include "platform/serial/port_list.h"
#include "sim/printer/printer_input.h"
#include "sim/printer/receipt_files.h"
#include "sim/printer/receipt_renderer.h"
#include "sim/printer/virtual_printer.h"
#include "platform/cli/parse_command_line.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

// Announces the printer's path in the runtime folder: a serial printer among the
// virtual serial ports (so port lists offer it), a FIFO in the folder itself.
std::string Announce(bool serial, const std::string& path) {
  const std::string folder = serial ? kit::SerialAnnounceDir() : kit::KitRuntimeDir();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::string file = folder + "/printer-" + std::to_string(::getpid());
  std::ofstream out(file);
  out << path << "\nJ57 virtual receipt printer\n";
  return out ? file : std::string{};
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Virtual J57 receipt printer. Opens a pseudo-terminal (serial printer) or a FIFO (parallel "
               "printer), prints its path as the first line on stdout and writes every receipt it receives "
               "as a PNG into the output folder, one per cut. Stops on SIGINT/SIGTERM or after --receipts."};
  bool serial = false;
  std::string fifo;
  std::string out = "receipts";
  int paperWidth = 576;
  int receiptLimit = 0;
  app.add_flag("--serial", serial, "receive on a new pseudo-terminal");
  app.add_option("--fifo", fifo, "receive on this FIFO (made when missing)");
  app.add_option("--out", out, "folder for the PNG files");
  app.add_option("--paper-width", paperWidth, "printable width in dots")->check(CLI::Range(64, 2048));
  app.add_option("--receipts", receiptLimit, "stop after writing this many receipts (0: never)")
      ->check(CLI::NonNegativeNumber);
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
  if (serial == !fifo.empty()) {
    std::cerr << "kit-sim-printer: give exactly one of --serial and --fifo PATH\n";
    return 2;
  }

  printer::ReceiptRenderer renderer;
  printer::ReceiptFiles files(out, renderer);
  if (auto error = files.prepare()) {
    std::cerr << "kit-sim-printer: " << *error << "\n";
    return 1;
  }
  auto opened = serial ? printer::PrinterInput::OpenPseudoTerminal() : printer::PrinterInput::OpenFifo(fifo);
  if (auto* error = std::get_if<std::string>(&opened)) {
    std::cerr << "kit-sim-printer: " << *error << "\n";
    return 1;
  }
  printer::PrinterInput& input = std::get<printer::PrinterInput>(opened);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  const std::string announcement = Announce(serial, input.path());
  std::cout << input.path() << std::endl;

  printer::VirtualPrinter virtualPrinter(paperWidth);
  int written = 0;
  int status = 0;
  const auto writeReceipts = [&]() -> bool {
    for (const std::string& diagnostic : virtualPrinter.takeDiagnostics())
      std::cerr << "kit-sim-printer: " << diagnostic << "\n";
    for (const printer::Receipt& receipt : virtualPrinter.takeReceipts()) {
      std::string error;
      const auto path = files.write(receipt, error);
      if (!path) {
        // One receipt that cannot be written does not switch the printer off.
        std::cerr << "kit-sim-printer: " << error << "\n";
        status = 1;
        continue;
      }
      std::cout << *path << std::endl;
      if (receiptLimit > 0 && ++written >= receiptLimit) return false;
    }
    return true;
  };
  std::vector<std::uint8_t> buffer(4096);
  while (!g_stop) {
    auto result = input.read(buffer, 200);
    if (auto* error = std::get_if<std::string>(&result)) {
      std::cerr << "kit-sim-printer: " << *error << "\n";
      status = 1;
      break;
    }
    const std::size_t count = std::get<std::size_t>(result);
    if (count == 0) continue;
    virtualPrinter.feed(std::span(buffer).first(count));
    if (!writeReceipts()) break;
  }
  if (g_stop) {
    // Bytes already sent are still printed, and paper printed after the last cut is
    // still shown when the printer is switched off.
    for (;;) {
      auto rest = input.read(buffer, 0);
      const auto* count = std::get_if<std::size_t>(&rest);
      if (count == nullptr || *count == 0) break;
      virtualPrinter.feed(std::span(buffer).first(*count));
    }
    virtualPrinter.finish();
    writeReceipts();
  }
  if (!announcement.empty()) std::filesystem::remove(announcement);
  return status;
}
