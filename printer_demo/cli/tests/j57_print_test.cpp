// Runs j57-print as a real process against files and FIFOs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/serial/pseudo_terminal.h"
#include "platform/test_support/file_contents.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "platform/test_support/terminal_drain.h"
#include "printer_demo/cli/command_line_clock.h"
#include "printer_demo/core/barcode_test.h"
#include "printer_demo/core/sample_receipts.h"
#include "printer_demo/core/tests/piece_stream.h"

namespace j57 {
namespace {

namespace fs = std::filesystem;

using kit::test_support::ProgramRun;
using kit::test_support::ReadFileBytes;

const std::string kProgram = kit::test_support::ProgramPath("j57-print").string();

// j57-print with its standard output and standard error together.
ProgramRun RunProgram(const std::string& arguments) { return kit::test_support::RunProgram(kProgram, arguments); }

class J57Print : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/j57-print.XXXXXX";
    m_dir = mkdtemp(pattern);
    m_out = m_dir / "lpt.bin";
  }
  void TearDown() override { fs::remove_all(m_dir); }
  fs::path m_dir;
  fs::path m_out;
};

TEST_F(J57Print, ReceiptsOnParallelRoutesAreByteExact) {
  const std::string now = "--now '2026-03-07 09:05:04'";
  const struct {
    std::string route;
    PrintRoute expectedRoute;
  } routes[] = {{"lpt1", PrintRoute::Lpt1}, {"lpt2", PrintRoute::Lpt2}, {"lpt3", PrintRoute::Lpt3}};
  for (const auto& r : routes) {
    fs::remove(m_out);
    for (const char* receipt : {"menu", "checks", "shopping"}) {
      const ProgramRun run = RunProgram("--route " + r.route + " --device " + m_out.string() + " " + now + " " + receipt);
      EXPECT_EQ(run.exitCode, 0) << run.output;
    }
    EXPECT_EQ(ReadFileBytes(m_out), Stream(MenuReceipt(r.expectedRoute, "2026/03/07    09:05:04 ")) +
                                   Stream(ChecksReceipt(r.expectedRoute, "2026/03/07   09:05")) +
                                   Stream(ShoppingListReceipt(r.expectedRoute, "2026/03/07   09:05")))
        << r.route;
  }
}

TEST_F(J57Print, BarcodeAndTextThroughTheEnvironmentsDevicePath) {
  const std::string env = "J57_LPT2=" + m_out.string() + " ";
  const fs::path text = m_dir / "text.txt";
  std::ofstream(text, std::ios::binary) << "abc";
  const std::string& program = kProgram;
  ASSERT_EQ(std::system((env + program + " --route lpt2 barcode JAN8 higher >/dev/null").c_str()), 0);
  ASSERT_EQ(std::system((env + program + " --route lpt2 text " + text.string() + " --times 3 >/dev/null").c_str()), 0);
  EXPECT_EQ(ReadFileBytes(m_out), Stream(BarcodeTestPieces(*FindBarcodeType("JAN8"), BarcodeSize::Higher)) + "abcabcabc\n" +
                                 std::string("\x1D\x56\x42\x00", 4));
}

TEST_F(J57Print, RefusalsAreReportedAndNothingIsHalfSent) {
  const std::string device = " --device " + m_out.string();
  const struct {
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"--route lpt1" + device + " text " + (m_dir / "missing.txt").string(), 1, "Cannot read"},
      {"--route lpt1" + device + " text /etc/hostname --times two", 1, "repeat count \"two\""},
      {"--route lpt1" + device + " --now 2026-02-30T00:00:00 menu", 2, "--now"},
      {"--route lpt1" + device + " --now '2024-13-45 10:00:00' menu", 2, "--now"},
      {"--route lpt1 --device /nonexistent/lpt menu", 1, "No such file or directory"},
      {"--route serial --baud fast menu", 2, "baud rate \"fast\""},
      {"--route serial --baud -5 menu", 2, "--baud -5"},
      {"--route serial --data-bits 8x menu", 2, "data bits \"8x\""},
      // Only regular files are printed; a FIFO without a writer must not hold the run.
      {"--route lpt1" + device + " text " + (m_dir / "fifo").string(), 1, "not a regular file"},
      {"--route lpt1" + device + " text " + m_dir.string(), 1, "not a regular file"},
      {"--route lpt1" + device + " text " + (m_dir / "binary.txt").string(), 1, "neither UTF-8 nor code page 936"},
      {"--route LPT1 menu", 2, "route"},
      {"--route lpt1" + device + " barcode ITF huge", 2, "SIZE"},
  };
  ASSERT_EQ(::mkfifo((m_dir / "fifo").c_str(), 0600), 0);
  std::ofstream(m_dir / "binary.txt", std::ios::binary) << "\xFF\xFF\x80";
  for (const auto& c : cases) {
    const ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.exitCode, c.status) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
  }
  EXPECT_FALSE(fs::exists(m_out));
}

TEST_F(J57Print, TextFilesGoOutAsTheFormSendsThem) {
  // UTF-8 with Chinese and bare LF, and the same text in code page 936 with CR LF.
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {{"utf8.txt", "\xE7\xA5\xA8\xE6\x8D\xAE\nline 2\n"}, {"gbk.txt", "\xC6\xB1\xBE\xDD\r\nline 2\r\n"}};
  for (const auto& f : files) {
    fs::remove(m_out);
    std::ofstream(m_dir / f.name, std::ios::binary) << f.bytes;
    const ProgramRun run = RunProgram("--route lpt1 --device " + m_out.string() + " text " + (m_dir / f.name).string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(ReadFileBytes(m_out), "\xC6\xB1\xBE\xDD\r\nline 2\r\n\n" + std::string("\x1D\x56\x42\x00", 4)) << f.name;
  }
}

TEST_F(J57Print, SerialLineThatStopsTakingBytesEndsWithTheCountSent) {
  kit::PseudoTerminal printer;  // nobody reads it
  ASSERT_EQ(printer.open(), kit::SerialError::Ok);
  const fs::path big = m_dir / "big.txt";
  std::ofstream(big, std::ios::binary) << std::string(1 << 20, 'x');
  const ProgramRun run = RunProgram("--route serial --device " + printer.portPath() + " --baud 115200 text " + big.string());
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("bytes"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" of 1048576 bytes"), std::string::npos) << run.output;
}

TEST_F(J57Print, UnknownBarcodeTypeOpensThePortButSendsNothing) {
  const ProgramRun run = RunProgram("--route lpt1 --device " + m_out.string() + " barcode itf normal");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("no barcode type"), std::string::npos);
  EXPECT_TRUE(fs::exists(m_out));
  EXPECT_EQ(fs::file_size(m_out), 0u);
}

TEST_F(J57Print, SerialRouteWritesToTheNamedDevice) {
  kit::PseudoTerminal printer;
  ASSERT_EQ(printer.open(), kit::SerialError::Ok);
  const ProgramRun run = RunProgram("--route serial --device " + printer.portPath() +
                                    " --baud 19200 --now '2026-03-07 09:05:04' menu");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string expected = Stream(MenuReceipt(PrintRoute::Serial, "2026/03/07    09:05:04 "));
  EXPECT_EQ(kit::test_support::DrainTerminal(printer, expected.size()), expected);
}

TEST(CommandLineClock, ReadsOnlyRealDatesAndTimes) {
  const auto t = ParseTimestamp("2024-02-29 23:59:58");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->day, 29);
  EXPECT_EQ(t->second, 58);
  for (const char* text : {"2023-02-29 00:00:00", "2026-13-01 00:00:00", "2026-01-01 24:00:00", "2026-01-01",
                           "2026-01-01 00:00:0x", "2026/01/01 00:00:00"})
    EXPECT_FALSE(ParseTimestamp(text)) << text;
}

}  // namespace
}  // namespace j57
