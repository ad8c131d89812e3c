// j57-render as a program, fed what a hostile user would give it.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"

namespace printer {
namespace {

namespace fs = std::filesystem;

TEST(J57Render, HostileInputEndsCleanlyWithBoundedOutput) {
  char pattern[] = "/tmp/j57-render.XXXXXX";
  const fs::path dir = ::mkdtemp(pattern);
  std::string feeds;
  for (int i = 0; i < 400; ++i) feeds += "\x1B\x64\xFF";
  std::ofstream(dir / "feeds.bin", std::ios::binary) << "top\n" << feeds << "bottom\n\x1D\x56\x42";
  const struct {
    const char* what;
    std::string input;
    int exitCode;
    const char* said;
  } cases[] = {
      {"a directory", dir.string(), 1, "is a directory"},
      {"an endless device", "/dev/zero", 1, "holds more than"},
      {"1.2 KB of paper feeds", (dir / "feeds.bin").string(), 0, "blank paper torn off"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path out = dir / "out";
    fs::remove_all(out);
    const auto run = kit::test_support::RunProgram(kit::test_support::ProgramPath("j57-render"),
                                                   "'" + c.input + "' --out '" + out.string() + "'");
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    if (c.exitCode == 0) {
      int pngs = 0;
      for (const auto& entry : fs::directory_iterator(out)) {
        ++pngs;
        EXPECT_GT(fs::file_size(entry.path()), 0u) << entry.path();
      }
      EXPECT_EQ(pngs, 2);  // the page with "top", torn, and the cut one with "bottom"
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace printer
