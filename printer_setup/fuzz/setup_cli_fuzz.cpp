// setup's command line: the input split at NUL bytes into arguments, parsed and checked
// as the installer does before it looks at the machine (no help printed, no wizard).
#include <cstddef>
#include <cstdint>

#include "platform/test_support/fuzz_arguments.h"
#include "printer_setup/app/setup_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const test_support::FuzzArguments arguments("setup", data, size);
    kit::setup::SetupCommandLine defaults;
    defaults.root = "/nonexistent/winroot";
    defaults.appDir = "/nonexistent/app";
    const auto parsed = kit::setup::ParseSetupCommandLine(arguments.argc(), arguments.argv(), defaults);
    if (parsed.outcome.exitCode == 2 && parsed.outcome.err.empty()) __builtin_trap();
    if (!parsed.outcome.exitCode) {
        // What the installer goes on with is consistent.
        const auto& o = parsed.options;
        if (o.model && (o.model->empty() || o.model->size() > 259)) __builtin_trap();
        if (o.unattended && !o.driveScript.empty()) __builtin_trap();
        if (o.timeLimitMs < 1 || o.timeLimitMs > 3600000) __builtin_trap();
    }
    return 0;
}
