// Runs kit-sim-printer as a real process and prints to it through a FIFO and a
// pseudo-terminal.
#include <fcntl.h>
#include <signal.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/test_support/program_path.h"
#include "printer_demo/core/sample_receipts.h"

namespace printer {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = kit::test_support::ProgramPath("kit-sim-printer").string();

std::string ReadLine(FILE* pipe) {
  char buffer[512];
  if (!std::fgets(buffer, sizeof buffer, pipe)) return {};
  std::string line = buffer;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

void WriteAll(int fd, const j57::Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    ASSERT_GT(n, 0);
    done += static_cast<std::size_t>(n);
  }
}

class PrinterSim : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/printer-sim.XXXXXX";
    m_dir = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Starts the printer, writes two receipts to the device it names and returns the
  // PNG paths it reports; it stops by itself after two receipts.
  std::vector<std::string> PrintTwo(const std::string& where, bool serial) {
    const std::string command = kProgram + " " + where + " --receipts 2 --out " +
                                (m_dir / "out").string();
    FILE* pipe = ::popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    if (!pipe) return {};
    const std::string device = ReadLine(pipe);
    const int fd = ::open(device.c_str(), O_WRONLY | O_NOCTTY);
    EXPECT_GE(fd, 0) << device;
    if (serial && fd >= 0) {
      termios settings{};
      ::tcgetattr(fd, &settings);
      ::cfmakeraw(&settings);
      ::tcsetattr(fd, TCSANOW, &settings);
    }
    // Written in two halves with the receipt boundary inside the second write.
    const j57::Bytes first = j57::Join(j57::MenuReceipt(j57::PrintRoute::Serial, "2026/03/07    09:05:04 "));
    const j57::Bytes second = j57::Join(j57::ChecksReceipt(j57::PrintRoute::Serial, "2026/03/07   09:05"));
    j57::Bytes all = first;
    all.insert(all.end(), second.begin(), second.end());
    const std::size_t half = first.size() / 2;
    if (fd >= 0) {
      WriteAll(fd, j57::Bytes(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(half)));
      WriteAll(fd, j57::Bytes(all.begin() + static_cast<std::ptrdiff_t>(half), all.end()));
      ::close(fd);
    }
    std::vector<std::string> pngs;
    for (std::string line = ReadLine(pipe); !line.empty(); line = ReadLine(pipe)) pngs.push_back(line);
    EXPECT_EQ(::pclose(pipe), 0);
    return pngs;
  }

  fs::path m_dir;
};

TEST_F(PrinterSim, FifoReceiptsBecomeOnePngPerCut) {
  const auto pngs = PrintTwo("--fifo " + (m_dir / "lpt.fifo").string(), false);
  ASSERT_EQ(pngs.size(), 2u);
  EXPECT_EQ(fs::path(pngs[0]).filename(), "receipt-0001.png");
  EXPECT_EQ(fs::path(pngs[1]).filename(), "receipt-0002.png");
  for (const auto& png : pngs) EXPECT_GT(fs::file_size(png), 1000u);
  EXPECT_FALSE(fs::exists(m_dir / "lpt.fifo"));  // made by the printer, removed by it
}

TEST_F(PrinterSim, PseudoTerminalCarriesEveryByteUnchanged) {
  const auto pngs = PrintTwo("--serial", true);
  ASSERT_EQ(pngs.size(), 2u);
}

TEST_F(PrinterSim, PaperAfterTheLastCutIsWrittenWhenStopped) {
  const std::string fifo = (m_dir / "lpt.fifo").string();
  const std::string command = "exec 2>/dev/null; " + kProgram + " --fifo " + fifo +
                              " --out " + (m_dir / "out").string() + " & echo $!; wait";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  // The shell's pid line and the printer's path line may come in either order.
  pid_t pid = 0;
  for (int i = 0; i < 2; ++i) {
    const std::string line = ReadLine(pipe);
    if (!line.empty() && line[0] != '/') pid = static_cast<pid_t>(std::stol(line));
  }
  ASSERT_GT(pid, 0);
  const int fd = ::open(fifo.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  WriteAll(fd, j57::TextLine("no cut after this line"));
  ::close(fd);
  // The bytes sit in the FIFO or in the printer; either way the stop prints them.
  ::kill(pid, SIGTERM);
  const std::string png = ReadLine(pipe);
  ::pclose(pipe);
  EXPECT_EQ(fs::path(png).filename(), "receipt-0001.png");
  EXPECT_FALSE(fs::exists(fifo));
}

TEST_F(PrinterSim, RefusesAmbiguousInput) {
  const std::string command = kProgram + " --serial --fifo /tmp/x 2>/dev/null";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace printer
