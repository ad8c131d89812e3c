#include "printer_setup/app/unattended.h"

#include "printer_setup/app/console_outcome_sink.h"
#include "printer_setup/app/detect_system.h"
#include "printer_setup/app/driver_set.h"
#include "printer_setup/app/setup_app.h"

namespace kit::setup {

int RunUnattended(const UnattendedOptions& options, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(options.root / "machine.json", ec)) {
        err << "setup: " << options.root.string()
            << " is not a prepared machine root (prepare it with: winenv --root DIR init)\n";
        return 1;
    }
    if (options.modelName.size() > 259) {
        err << "setup: the model name is longer than 259 characters\n";
        return 1;
    }
    winenv::WinEnv env(options.root, options.printerSetupProgram);
    if (std::string damaged = UnreadableStore(env); !damaged.empty()) {
        err << "setup: " << damaged << "; nothing was changed\n";
        return 1;
    }
    InstallerValues values;
    values.g_ModelName = options.modelName;
    values.g_SystemCode = DetectSystem(env.system);
    const std::uint16_t languageId = env.system.getSystemDefaultLangId();
    values.g_LanguageChoice = options.languageChoice.value_or(IsChineseSystem(languageId) ? 0 : 1);

    ConsoleOutcomeSink sink(out);
    InstallOptions installOptions;
    installOptions.commandTimeLimit = options.commandTimeLimit;
    SetupApp app(env, values, sink, installOptions);
    InstallOutcome outcome = app.InstallDriver();
    // The default-printer command is not waited for by the installation; the
    // program lets it finish so that what it leaves behind is complete.
    env.processes.waitForDetached(std::chrono::seconds(30));
    // What failed on the way comes first: it is usually why the run failed.
    const std::vector<std::string> problems = app.problems();
    for (const auto& problem : problems) err << "setup: " << problem << '\n';

    switch (outcome) {
    case InstallOutcome::Installed:
        if (!problems.empty()) {
            err << "setup: the printer is installed, but the installation is incomplete\n";
            return 1;
        }
        return 0;
    case InstallOutcome::NotInstalled:
        err << "setup: no printer of the model " << kFixedModel << " exists after the printer setup command\n";
        return 1;
    case InstallOutcome::UnsupportedModel:
        err << "setup: the model name \"" << options.modelName << "\" is not supported; this driver package installs "
            << kFixedModel << " only\n";
        return 1;
    case InstallOutcome::SpoolerError:
        err << "setup: the print spooler failed while listing the printers; the installation stopped\n";
        return 1;
    }
    return 1;
}

}  // namespace kit::setup
