// j57-print's command line: the input split at NUL bytes into arguments, parsed and
// checked as the program does before it opens a device (no help printed, nothing
// printed on a printer).
#include <cstddef>
#include <cstdint>

#include "platform/test_support/fuzz_arguments.h"
#include "printer_demo/cli/j57_print_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const test_support::FuzzArguments arguments("j57-print", data, size);
  const auto parsed = j57::ParseJ57PrintCommandLine(arguments.argc(), arguments.argv());
  if (parsed.outcome.exitCode == 2 && parsed.outcome.err.empty()) __builtin_trap();
  return 0;
}
