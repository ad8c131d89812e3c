// Runs the built j57-demo in drive mode as a real process: a script walks the three
// forms, prints a manual text to a parallel port file, and the transcript, the exit
// status and the bytes printed are checked.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/test_support/file_contents.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"

namespace j57 {
namespace {

namespace fs = std::filesystem;

using kit::test_support::ReadFileBytes;
using kit::test_support::RunShell;

const std::string kProgram = kit::test_support::ProgramPath("j57-demo").string();
const std::string kCut("\x1D\x56\x42\x00", 4);

class J57DemoDrive : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/j57-drive.XXXXXX";
    m_dir = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Runs j57-demo with the script on standard input or from a file; the transcript is
  // standard output, standard error goes to m_dir/errors.
  kit::test_support::ProgramRun drive(const std::string& script, bool fromStandardInput = false) {
    const fs::path file = m_dir / "script.txt";
    std::ofstream(file, std::ios::binary) << script;
    const std::string env = "J57_LPT1='" + (m_dir / "lpt1").string() + "' ";
    const std::string errors = " 2>'" + (m_dir / "errors").string() + "'";
    if (fromStandardInput) return RunShell(env + kProgram + " --drive -" + errors + " <'" + file.string() + "'");
    return RunShell(env + kProgram + " --drive '" + file.string() + "'" + errors);
  }
  std::string errors() const { return ReadFileBytes(m_dir / "errors"); }

  fs::path m_dir;
};

TEST_F(J57DemoDrive, AScriptWalksTheFormsAndPrintsAManualText) {
  const auto run = drive(
      "# parallel attachment on LPT1\n"
      "click 1003\n"
      "text 1027 \"LPT1\"\n"
      "key escape        # a form has no Cancel: it stays usable\n"
      "key enter\n"
      "show 1021\n"
      "click 1031\n"
      "key escape\n"
      "click 2026        # Manual Test\n"
      "text 3011 \"J57 \xE4\xB8\xAD\\n\"\n"
      "select 3012 1\n"
      "show 3012\n"
      "click 3023        # Sent\n"
      "click 9999\n");
  EXPECT_EQ(run.exitCode, 3) << errors();
  EXPECT_EQ(run.output,
            "open 101 \"Form1\"\n"
            "show 1021 \"COM1\" disabled sel=-1\n"
            "  0 \"COM1\"\n"
            "  1 \"COM2\"\n"
            "  2 \"COM3\"\n"
            "  3 \"COM4\"\n"
            "open 102 \"Form2\"\n"
            "open 103 \"Form3\"\n"
            "show 3012 \"2\" enabled sel=1\n"
            "  0 \"1\"\n"
            "  1 \"2\"\n"
            "  2 \"3\"\n"
            "  3 \"5\"\n"
            "  4 \"8\"\n"
            "  5 \"10\"\n"
            "refused 14 \"no such control\"\n"
            // The steps have run out: each form's close box, top-most first.
            "close 103 0\n"
            "open 102 \"Form2\"\n"
            "close 102 0\n"
            "open 101 \"Form1\"\n"
            "close 101 0\n");
  // The UTF-8 text goes out in the printer's code page, with CR LF, twice, then a cut.
  EXPECT_EQ(ReadFileBytes(m_dir / "lpt1"), "J57 \xD6\xD0\r\nJ57 \xD6\xD0\r\n\n" + kCut);
}

TEST_F(J57DemoDrive, ExitStatusTellsHowTheScriptWent) {
  const struct {
    const char* script;
    bool fromStandardInput;
    int exitCode;
    const char* transcript;
    const char* error;
  } cases[] = {
      {"click 1032\n", false, 0, "open 101 \"Form1\"\nclose 101 0\n", ""},
      {"close\n", true, 0, "open 101 \"Form1\"\nclose 101 0\n", ""},
      {"", true, 0, "open 101 \"Form1\"\nclose 101 0\n", ""},
      {"click 1032\nshow 1031\n", false, 3, "open 101 \"Form1\"\nclose 101 0\nrefused 2 \"no window\"\n", ""},
      {"text 1027 \"LPT2\"\n", false, 3, "open 101 \"Form1\"\nrefused 1 \"disabled\"\nclose 101 0\n", ""},
      {"click 1032\n\nwait soon\n", false, 2, "", "line 3: MS must be"},
      {"text 3011 \"x\n", true, 2, "", "standard input, line 1: unterminated string"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const auto run = drive(c.script, c.fromStandardInput);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, c.transcript);
    EXPECT_NE(errors().find(c.error), std::string::npos) << errors();
  }
  const auto missing = RunShell(kProgram + " --drive '" + (m_dir / "none").string() + "' 2>&1");
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.output.find("No such file or directory"), std::string::npos) << missing.output;
}

}  // namespace
}  // namespace j57
