// The program runner hands back every byte and the exit code as the command left them.
#include "platform/test_support/program_run.h"

#include <gtest/gtest.h>

#include <string>

namespace kit::test_support {
namespace {

TEST(RunShell, OutputAndExitCodeAsTheCommandLeftThem) {
  struct Case {
    const char* command;
    int exitCode;
    std::string output;
  };
  const Case cases[] = {
      {"printf 'a\\000b\\n'; exit 3", 3, std::string("a\0b\n", 4)},  // NUL bytes do not cut the output
      {"head -c 2000 /dev/zero | tr '\\0' x", 0, std::string(2000, 'x')},  // longer than one read
      {"echo gone >&2", 0, ""},                                          // standard error is not collected
      {"kill -TERM $$", -1, ""},                                         // killed, not exited
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunShell(c.command);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.command;
    EXPECT_EQ(run.output, c.output) << c.command;
  }
}

TEST(RunProgram, CollectsStandardErrorWithTheOutput) {
  const ProgramRun run = RunProgram("/bin/sh", "-c 'echo out; echo err >&2; exit 2'");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.output, "out\nerr\n");
  EXPECT_EQ(RunProgram("/nonexistent/program", "").exitCode, 127);
}

}  // namespace
}  // namespace kit::test_support
