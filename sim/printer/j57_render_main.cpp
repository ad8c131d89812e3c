// j57-render: reads a file of printer bytes and writes one PNG per receipt.
#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <span>
#include <vector>

#include "sim/printer/receipt_files.h"
#include "sim/printer/receipt_renderer.h"
#include "sim/printer/virtual_printer.h"
#include "platform/cli/parse_command_line.h"

namespace {

// The most printer bytes one run reads: far beyond any receipt, well below what
// would take the machine's memory or time.
constexpr std::uint64_t kMaxInputBytes = 16u * 1024 * 1024;

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Render the printer bytes in FILE as receipts: one PNG per cut (and one for paper left "
               "after the last cut) in the output folder; a receipt longer than 16000 dots is torn into pages. "
               "Unknown commands are listed on stderr. FILE may be a pipe; at most 16 MiB are read."};
  std::string input;
  std::string out = ".";
  int paperWidth = 576;
  app.add_option("FILE", input, "file with the bytes sent to the printer")->required();
  app.add_option("--out", out, "folder for the PNG files (created when missing)");
  app.add_option("--paper-width", paperWidth, "printable width in dots (576 for 80 mm paper, 384 for 58 mm)")
      ->check(CLI::Range(64, 2048));
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

  // Directories are refused; anything else is read as a stream, in pieces, and
  // its receipts are written as they are cut, so memory does not grow with the
  // input. Input beyond the cap ends the run.
  const int fd = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    std::cerr << "j57-render: cannot read " << input << ": " << std::strerror(errno) << "\n";
    if (fd >= 0) ::close(fd);
    return 1;
  }
  if (S_ISDIR(st.st_mode)) {
    std::cerr << "j57-render: " << input << " is a directory\n";
    ::close(fd);
    return 1;
  }

  printer::ReceiptRenderer renderer;
  printer::ReceiptFiles files(out, renderer);
  if (auto error = files.prepare()) {
    std::cerr << "j57-render: " << *error << "\n";
    ::close(fd);
    return 1;
  }
  printer::VirtualPrinter virtualPrinter(paperWidth);
  const auto writeReceipts = [&]() -> bool {
    for (const std::string& diagnostic : virtualPrinter.takeDiagnostics())
      std::cerr << "j57-render: " << diagnostic << "\n";
    for (const printer::Receipt& receipt : virtualPrinter.takeReceipts()) {
      std::string error;
      const auto path = files.write(receipt, error);
      if (!path) {
        std::cerr << "j57-render: " << error << "\n";
        return false;
      }
      std::cout << *path << "\n";
    }
    return true;
  };
  std::vector<std::uint8_t> buffer(65536);
  std::uint64_t total = 0;
  for (;;) {
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      std::cerr << "j57-render: reading " << input << " failed: " << std::strerror(errno) << "\n";
      ::close(fd);
      return 1;
    }
    if (got == 0) break;
    total += static_cast<std::uint64_t>(got);
    if (total > kMaxInputBytes) {
      std::cerr << "j57-render: " << input << " holds more than " << kMaxInputBytes << " bytes; the rest is not read\n";
      ::close(fd);
      return 1;
    }
    virtualPrinter.feed(std::span(buffer).first(static_cast<std::size_t>(got)));
    if (!writeReceipts()) {
      ::close(fd);
      return 1;
    }
  }
  ::close(fd);
  virtualPrinter.finish();
  if (!writeReceipts()) return 1;
  return 0;
}
