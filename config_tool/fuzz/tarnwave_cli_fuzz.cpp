// tarnwave-cli's command line: the input split at NUL bytes into arguments, parsed as
// the program parses them (no help printed, no command run).
#include <cstddef>
#include <cstdint>

#include "config_tool/cli/tarnwave_command_line.h"
#include "platform/test_support/fuzz_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const test_support::FuzzArguments arguments("tarnwave-cli", data, size);
  const auto parsed = tarnwave::cli::ParseTarnwaveCommandLine(arguments.argc(), arguments.argv());
  // A command line that runs names its command; one that ends says why.
  if (!parsed.outcome.exitCode && parsed.options.command.empty()) __builtin_trap();
  if (parsed.outcome.exitCode == 2 && parsed.outcome.err.empty()) __builtin_trap();
  return 0;
}
