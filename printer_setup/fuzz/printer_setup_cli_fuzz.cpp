// kit-printer-setup's command line: the input split at NUL bytes into arguments (the
// printer setup words included), parsed and checked as the command does before it
// opens the machine root (no help printed, nothing installed).
#include <cstddef>
#include <cstdint>

#include "platform/test_support/fuzz_arguments.h"
#include "printer_setup/winenv/tools/printer_setup_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const test_support::FuzzArguments arguments("kit-printer-setup", data, size);
    const auto parsed =
        kit::winenv::ParsePrinterSetupCommandLine(arguments.argc(), arguments.argv(), "/nonexistent/winroot");
    if (parsed.outcome.exitCode == 2 && parsed.outcome.err.empty()) __builtin_trap();
    if (!parsed.outcome.exitCode) {
        // A request that passes names what its form needs.
        const auto& r = parsed.options.request;
        if (r.name.empty()) __builtin_trap();
        if (r.install && (r.inf.empty() || r.port.empty() || r.model.empty())) __builtin_trap();
    }
    return 0;
}
