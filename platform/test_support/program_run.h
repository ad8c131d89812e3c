#pragma once

#include <filesystem>
#include <string>

namespace kit::test_support {

// What a finished program left behind.
struct ProgramRun {
  int exitCode = -1;   // -1 when it could not be started or did not exit normally
  std::string output;  // everything the command wrote to its standard output
};

// Runs `command` through /bin/sh, waits for it to end and collects its standard
// output byte for byte (NUL bytes included). Blocks until the command ends.
ProgramRun RunShell(const std::string& command);

// Runs `program` with `arguments` (shell words, quoted by the caller) and
// collects its standard output and standard error together.
ProgramRun RunProgram(const std::filesystem::path& program, const std::string& arguments);

}  // namespace kit::test_support
