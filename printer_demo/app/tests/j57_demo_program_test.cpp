// j57-demo and kit-gallery as programs, started where they cannot work.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"

namespace j57 {
namespace {

namespace fs = std::filesystem;
using kit::test_support::ProgramPath;
using kit::test_support::RunShell;

TEST(J57DemoProgram, NoUsableDisplayOrScreenshotFolderIsAClearError) {
  char pattern[] = "/tmp/j57-demo.XXXXXX";
  const fs::path dir = ::mkdtemp(pattern);
  std::ofstream(dir / "file") << "x";
  // A display nobody serves: Qt would end the program inside its platform plugin.
  const std::string noDisplay = "env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=:87 ";
  const struct {
    std::string command;
    const char* said;
  } cases[] = {
      {noDisplay + ProgramPath("j57-demo").string(), "QT_QPA_PLATFORM=offscreen"},
      {noDisplay + ProgramPath("kit-gallery").string() + " j57-form1 --show", "QT_QPA_PLATFORM=offscreen"},
      {"QT_QPA_PLATFORM=offscreen " + ProgramPath("j57-demo").string() + " --screenshots " + (dir / "file").string(),
       "screenshot folder"},
  };
  for (const auto& c : cases) {
    const auto run = RunShell(c.command + " 2>&1");
    EXPECT_EQ(run.exitCode, 1) << c.command << "\n" << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << c.command << "\n" << run.output;
  }
  EXPECT_TRUE(fs::is_regular_file(dir / "file"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace j57
