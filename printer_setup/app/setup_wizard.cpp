#include "printer_setup/app/setup_wizard.h"

#include "printer_setup/app/detect_system.h"
#include "printer_setup/app/dialog_kit_outcome_sink.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/setup_start.h"
#include "printer_setup/winenv/win_env.h"

namespace kit::setup {

int ExitStatus(WizardEnd end) { return end == WizardEnd::Installed ? 0 : 1; }

SetupWizard::SetupWizard(ui::Host& host, const DialogStrings& strings, InstallerValues& values,
                         std::function<void()> installDriver)
    : frame(host, strings),
      welcome(host, strings),
      language(host, strings, values),
      setting(host, strings),
      copy(host, strings, std::move(installDriver)) {
    frame.AddPage(welcome, IDD_WELCOME);
    frame.AddPage(language, IDD_LANGUAGE);
    frame.AddPage(setting, IDD_SETTING);
    frame.AddPage(copy, IDD_COPY);
}

bool CheckMachineRoot(const std::filesystem::path& root, std::ostream& err) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(root / "machine.json", ec)) return true;
    err << "setup: " << root.string() << " is not a prepared machine root (prepare it with: winenv --root DIR init)\n";
    return false;
}

WizardEnd RunSetupWizard(ui::Host& host, const WizardOptions& options, std::ostream& err) {
    if (!CheckMachineRoot(options.root, err)) return WizardEnd::Unusable;
    winenv::WinEnv env(options.root, options.printerSetupProgram);
    const std::uint16_t languageId = env.system.getSystemDefaultLangId();

    InstallerValues values;
    values.g_SystemCode = DetectSystem(env.system);
    SetupStart start(options.appDir, languageId);
    start.InitInstance(values);
    if (options.modelName) values.g_ModelName = *options.modelName;
    const DialogStrings strings{start.g_LanguageFile(), languageId};

    std::optional<InstallOutcome> outcome;
    SetupWizard* running = nullptr;
    SetupWizard wizard(host, strings, values, [&] {
        DialogKitOutcomeSink sink(running->frame);
        InstallOptions installOptions;
        installOptions.commandTimeLimit = options.commandTimeLimit;
        SetupApp app(env, values, sink, installOptions);
        outcome = app.InstallDriver();
    });
    running = &wizard;
    (void)wizard.DoModal();
    // The default-printer command is not waited for by the installation; the
    // program lets it finish so that what it leaves behind is complete.
    env.processes.waitForDetached(std::chrono::seconds(30));

    if (!outcome) {
        err << "setup: the wizard was closed before the installation; nothing was installed\n";
        return WizardEnd::Cancelled;
    }
    switch (*outcome) {
    case InstallOutcome::Installed:
        return WizardEnd::Installed;
    case InstallOutcome::NotInstalled:
        err << "setup: no printer of the model " << kFixedModel << " exists after the printer setup command\n";
        break;
    case InstallOutcome::UnsupportedModel:
        err << "setup: the model name \"" << values.g_ModelName << "\" is not supported; this driver package installs "
            << kFixedModel << " only\n";
        break;
    case InstallOutcome::SpoolerError:
        err << "setup: the print spooler failed while listing the printers; the installation stopped\n";
        break;
    }
    return WizardEnd::NotInstalled;
}

}  // namespace kit::setup
