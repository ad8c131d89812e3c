// kit-printer-setup: the machine's printer setup command, started by the
// installer as a separate process.
#include <iostream>

#include "printer_setup/winenv/printer_setup_command.h"
#include "printer_setup/winenv/tools/printer_setup_command_line.h"

int main(int argc, char** argv) {
    const auto parsed =
        kit::winenv::ParsePrinterSetupCommandLine(argc, argv, kit::winenv::MachineRoot::DefaultFolder().string());
    if (parsed.outcome.exitCode) return parsed.outcome.report(std::cout, std::cerr);
    const kit::winenv::PrinterSetupCommandLine& o = parsed.options;
    kit::winenv::MachineRoot machine(o.root);
    auto result = kit::winenv::PrinterSetupCommand(machine, o.cwd).run(o.request);
    if (!result.message.empty()) std::cerr << "kit-printer-setup: " << result.message << '\n';
    return result.exitCode;
}
