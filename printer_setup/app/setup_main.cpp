// setup: the printer driver installer. Without --unattended it shows the
// wizard; --unattended installs without windows. Both start the same way:
// the settings file and the language files next to the installer, the model
// name from "setting.dll".
#include <iostream>

#include "platform/ui/drive/run_driven.h"
#include "platform/ui/qt/qt_host.h"
#include "printer_setup/app/setup_command_line.h"
#include "printer_setup/app/setup_start.h"
#include "printer_setup/app/setup_wizard.h"
#include "printer_setup/app/unattended.h"
#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/process_runner.h"
#include "printer_setup/winenv/system_info.h"

int main(int argc, char** argv) {
    kit::setup::SetupCommandLine defaults;
    defaults.root = kit::winenv::MachineRoot::DefaultFolder().string();
    defaults.appDir = kit::setup::SetupStart::ProgramFolder().string();
    const auto parsed = kit::setup::ParseSetupCommandLine(argc, argv, std::move(defaults));
    if (parsed.outcome.exitCode) return parsed.outcome.report(std::cout, std::cerr);
    const kit::setup::SetupCommandLine& o = parsed.options;
    const std::string& root = o.root;

    const auto printerSetup = kit::winenv::ProcessRunner::DefaultPrinterSetupProgram();
    if (o.unattended) {
        if (!kit::setup::CheckMachineRoot(root, std::cerr)) return 1;
        const kit::winenv::MachineRoot machine(root);
        kit::setup::InstallerValues values;
        kit::setup::SetupStart start(o.appDir, kit::winenv::SystemInfo(machine).getSystemDefaultLangId());
        start.InitInstance(values);
        kit::setup::UnattendedOptions options;
        options.root = root;
        options.printerSetupProgram = printerSetup;
        if (!o.language.empty()) options.languageChoice = o.language == "chinese" ? 0 : 1;
        options.modelName = o.model ? *o.model : values.g_ModelName;
        options.commandTimeLimit = std::chrono::milliseconds(o.timeLimitMs);
        return kit::setup::RunUnattended(options, std::cout, std::cerr);
    }

    kit::setup::WizardOptions options;
    options.root = root;
    options.appDir = o.appDir;
    options.printerSetupProgram = printerSetup;
    if (o.model) options.modelName = *o.model;
    options.commandTimeLimit = std::chrono::milliseconds(o.timeLimitMs);
    if (!o.driveScript.empty()) {
        return kit::ui::drive::RunDriven(
            o.driveScript,
            [&](kit::ui::Host& host) {
                return kit::setup::ExitStatus(kit::setup::RunSetupWizard(host, options, std::cerr));
            },
            std::cout, std::cerr);
    }
    kit::ui::QtHost host;
    return kit::setup::ExitStatus(kit::setup::RunSetupWizard(host, options, std::cerr));
}
