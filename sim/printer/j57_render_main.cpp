// j57-render: reads a file of printer bytes and writes one PNG per receipt.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "sim/printer/receipt_files.h"
#include "sim/printer/receipt_renderer.h"
#include "sim/printer/virtual_printer.h"
#include "platform/cli/parse_command_line.h"

int main(int argc, char** argv) {
  CLI::App app{"Render the printer bytes in FILE as receipts: one PNG per cut (and one for paper left "
               "after the last cut) in the output folder. Unknown commands are listed on stderr."};
  std::string input;
  std::string out = ".";
  int paperWidth = 576;
  app.add_option("FILE", input, "file with the bytes sent to the printer")->required();
  app.add_option("--out", out, "folder for the PNG files (created when missing)");
  app.add_option("--paper-width", paperWidth, "printable width in dots (576 for 80 mm paper, 384 for 58 mm)")
      ->check(CLI::Range(64, 2048));
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

  std::ifstream file(input, std::ios::binary);
  if (!file) {
    std::cerr << "j57-render: cannot read " << input << "\n";
    return 1;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) {
    std::cerr << "j57-render: reading " << input << " failed\n";
    return 1;
  }

  printer::VirtualPrinter virtualPrinter(paperWidth);
  virtualPrinter.feed(bytes);
  virtualPrinter.finish();
  for (const std::string& diagnostic : virtualPrinter.takeDiagnostics())
    std::cerr << "j57-render: " << diagnostic << "\n";

  printer::ReceiptRenderer renderer;
  printer::ReceiptFiles files(out, renderer);
  if (auto error = files.prepare()) {
    std::cerr << "j57-render: " << *error << "\n";
    return 1;
  }
  for (const printer::Receipt& receipt : virtualPrinter.takeReceipts()) {
    std::string error;
    const auto path = files.write(receipt, error);
    if (!path) {
      std::cerr << "j57-render: " << error << "\n";
      return 1;
    }
    std::cout << *path << "\n";
  }
  return 0;
}
