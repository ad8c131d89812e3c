// kit-printer-setup: the machine's printer setup command, started by the
// installer as a separate process.
#include <iostream>

#include <CLI/CLI.hpp>

#include "printer_setup/winenv/printer_setup_command.h"
#include "platform/cli/parse_command_line.h"

int main(int argc, char** argv) {
    CLI::App app{"Printer setup command of a machine root.\n"
                 "  kit-printer-setup --root DIR [--cwd C:\\TEMP] -- /if /f INF /r PORT /b NAME /m MODEL\n"
                 "  kit-printer-setup --root DIR -- /y /n NAME",
                 "kit-printer-setup"};
    std::string root = kit::winenv::MachineRoot::DefaultFolder().string();
    std::string cwd;
    std::vector<std::string> words;
    app.add_option("--root", root, "folder that stands for the machine");
    app.add_option("--cwd", cwd, "current directory as a drive path (for a relative INF path)");
    app.add_option("words", words, "the printer setup words (/if, /f, /y, ...)");
    app.allow_windows_style_options(false);
    app.positionals_at_end(true);
    if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
    kit::winenv::MachineRoot machine(root);
    auto result = kit::winenv::PrinterSetupCommand(machine, cwd).run(words);
    if (!result.message.empty()) std::cerr << "kit-printer-setup: " << result.message << '\n';
    return result.exitCode;
}
