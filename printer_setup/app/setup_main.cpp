// setup: the printer driver installer. Without --unattended it shows the
// wizard; --unattended installs without windows. Both start the same way:
// the settings file and the language files next to the installer, the model
// name from "setting.dll".
#include <iostream>

#include <CLI/CLI.hpp>

#include "platform/cli/parse_command_line.h"
#include "platform/ui/drive/run_driven.h"
#include "platform/ui/qt/qt_host.h"
#include "printer_setup/app/setup_start.h"
#include "printer_setup/app/setup_wizard.h"
#include "printer_setup/app/unattended.h"
#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/process_runner.h"
#include "printer_setup/winenv/system_info.h"

int main(int argc, char** argv) {
    CLI::App app{"Printer driver installer for the J57 receipt printer.", "setup"};
    std::string root = kit::winenv::MachineRoot::DefaultFolder().string();
    std::string appDir = kit::setup::SetupStart::ProgramFolder().string();
    bool unattended = false;
    std::string driveScript;
    std::string language;
    std::string model;
    long long timeLimitMs = 90000;
    app.add_option("--root", root, "folder that stands for the machine")->capture_default_str();
    app.add_option("--app-dir", appDir, "the installer's folder: setting.dll and the Language folder")
        ->capture_default_str();
    app.add_flag("--unattended", unattended, "install without the wizard and print the outcome");
    app.add_option("--drive", driveScript,
                   "run the wizard without a display, applying the steps of SCRIPT (- for standard input)");
    app.add_option("--language", language, "with --unattended: language of the printer files and the message")
        ->check(CLI::IsMember({"chinese", "english"}));
    app.add_option("--model", model, "model name, instead of the \"PrinterName\" setting of setting.dll");
    app.add_option("--command-time-limit", timeLimitMs, "milliseconds the printer setup command may run")
        ->check(CLI::Range(1LL, 3600000LL))
        ->capture_default_str();
    if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
    if (unattended && !driveScript.empty()) {
        std::cerr << "setup: --drive runs the wizard; it does not go with --unattended\n";
        return 2;
    }
    if (!language.empty() && !unattended) {
        std::cerr << "setup: --language goes with --unattended; the wizard asks for the language\n";
        return 2;
    }
    if (app.count("--model") && (model.empty() || model.size() > 259)) {
        std::cerr << "setup: --model needs a name of 1 to 259 characters\n";
        return 2;
    }

    const auto printerSetup = kit::winenv::ProcessRunner::DefaultPrinterSetupProgram();
    if (unattended) {
        if (!kit::setup::CheckMachineRoot(root, std::cerr)) return 1;
        const kit::winenv::MachineRoot machine(root);
        kit::setup::InstallerValues values;
        kit::setup::SetupStart start(appDir, kit::winenv::SystemInfo(machine).getSystemDefaultLangId());
        start.InitInstance(values);
        kit::setup::UnattendedOptions options;
        options.root = root;
        options.printerSetupProgram = printerSetup;
        if (!language.empty()) options.languageChoice = language == "chinese" ? 0 : 1;
        options.modelName = app.count("--model") ? model : values.g_ModelName;
        options.commandTimeLimit = std::chrono::milliseconds(timeLimitMs);
        return kit::setup::RunUnattended(options, std::cout, std::cerr);
    }

    kit::setup::WizardOptions options;
    options.root = root;
    options.appDir = appDir;
    options.printerSetupProgram = printerSetup;
    if (app.count("--model")) options.modelName = model;
    options.commandTimeLimit = std::chrono::milliseconds(timeLimitMs);
    if (!driveScript.empty()) {
        return kit::ui::drive::RunDriven(
            driveScript,
            [&](kit::ui::Host& host) {
                return kit::setup::ExitStatus(kit::setup::RunSetupWizard(host, options, std::cerr));
            },
            std::cout, std::cerr);
    }
    kit::ui::QtHost host;
    return kit::setup::ExitStatus(kit::setup::RunSetupWizard(host, options, std::cerr));
}
