// kirva_udxd's command line: the input split at NUL bytes into arguments, parsed as
// the driver host does (no help printed, no host started), and the simulation plan
// read as the host reads it before it plugs a dongle in.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dongle_driver/host/kirva_udxd_command_line.h"
#include "dongle_driver/host/simulation_plan.h"
#include "platform/test_support/fuzz_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const test_support::FuzzArguments arguments("kirva_udxd", data, size);
    const auto parsed = kirva::ParseDriverHostCommandLine(arguments.argc(), arguments.argv(), true);
    if (parsed.outcome.exitCode == 2 && parsed.outcome.err.empty()) __builtin_trap();
    if (parsed.outcome.exitCode) return 0;
    if (!parsed.options.password.empty() && parsed.options.password.size() != 6) __builtin_trap();
    std::string error;
    const auto plan = kirva::ParseSimulationPlan(parsed.options.simulate, error);
    if (!plan) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    for (const auto& placement : plan->placements) {
        if (placement.channel < 1 || placement.channel > 14) __builtin_trap();
        if (placement.count < 1 || placement.count > kirva::kMaxModulesPerChannel) __builtin_trap();
        for (int i = 0; i < placement.count; ++i)
            (void)kirva::FormatAddress(kirva::SimulatedModuleAddress(placement.channel, i));
    }
    return 0;
}
