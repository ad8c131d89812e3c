#include "platform/test_support/program_run.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace kit::test_support {

ProgramRun RunShell(const std::string& command) {
  ProgramRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 512> buffer{};
  while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) run.output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
  return run;
}

ProgramRun RunProgram(const std::filesystem::path& program, const std::string& arguments) {
  return RunShell(program.string() + " " + arguments + " 2>&1");
}

}  // namespace kit::test_support
