// setup: the printer driver installer. This build runs the installation
// without the wizard (--unattended) on a machine root prepared by winenv.
#include <iostream>

#include <CLI/CLI.hpp>

#include "printer_setup/app/unattended.h"
#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/process_runner.h"
#include "platform/cli/parse_command_line.h"

int main(int argc, char** argv) {
    CLI::App app{"Printer driver installer for the J57 receipt printer.", "setup"};
    std::string root = kit::winenv::MachineRoot::DefaultFolder().string();
    bool unattended = false;
    std::string language;
    std::string model = "J57";
    long long timeLimitMs = 90000;
    app.add_option("--root", root, "folder that stands for the machine")->capture_default_str();
    app.add_flag("--unattended", unattended, "install without the wizard and print the outcome");
    app.add_option("--language", language, "language of the printer files and the message")
        ->check(CLI::IsMember({"chinese", "english"}));
    app.add_option("--model", model, "model name (the \"PrinterName\" setting)")->capture_default_str();
    app.add_option("--command-time-limit", timeLimitMs, "milliseconds the printer setup command may run")
        ->check(CLI::Range(1LL, 3600000LL))
        ->capture_default_str();
    if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
    if (!unattended) {
        std::cerr << "setup: this build has no wizard yet; run it with --unattended\n";
        return 2;
    }
    kit::setup::UnattendedOptions options;
    options.root = root;
    options.printerSetupProgram = kit::winenv::ProcessRunner::DefaultPrinterSetupProgram();
    if (!language.empty()) options.languageChoice = language == "chinese" ? 0 : 1;
    options.modelName = model;
    options.commandTimeLimit = std::chrono::milliseconds(timeLimitMs);
    return kit::setup::RunUnattended(options, std::cout, std::cerr);
}
