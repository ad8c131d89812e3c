// winenv's command line: the input split at NUL bytes into arguments, parsed and
// checked as the tool does before it opens the machine root (no help printed).
#include <cstddef>
#include <cstdint>

#include "platform/test_support/fuzz_arguments.h"
#include "printer_setup/winenv/tools/winenv_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const test_support::FuzzArguments arguments("winenv", data, size);
    const auto parsed = kit::winenv::ParseWinenvCommandLine(arguments.argc(), arguments.argv(), "/nonexistent/winroot");
    if (parsed.outcome.exitCode == 2 && parsed.outcome.err.empty()) __builtin_trap();
    if (!parsed.outcome.exitCode && parsed.options.command == kit::winenv::WinenvCommand::Init &&
        (parsed.options.settings.major > 255 || parsed.options.settings.minor > 255))
        __builtin_trap();
    return 0;
}
