#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "platform/ui/host.h"
#include "printer_setup/app/copy_dlg.h"
#include "printer_setup/app/dialog_strings.h"
#include "printer_setup/app/installer_values.h"
#include "printer_setup/app/language_dlg.h"
#include "printer_setup/app/setting_dlg.h"
#include "printer_setup/app/setup_app.h"
#include "printer_setup/app/setup_dlg.h"
#include "printer_setup/app/welcome_dlg.h"

namespace kit::setup {

struct WizardOptions {
    std::filesystem::path root;                  // the machine root
    std::filesystem::path appDir;                // the installer's folder (settings and language files)
    std::filesystem::path printerSetupProgram;   // kit-printer-setup
    std::optional<std::string> modelName;        // replaces the "PrinterName" setting when given
    std::chrono::milliseconds commandTimeLimit{90000};
};

// How a wizard run ended, and the program's exit status for it.
enum class WizardEnd {
    Installed,     // 0: the printer is installed and the default printer
    NotInstalled,  // 1: the installation ran and failed (its message was shown)
    Cancelled,     // 1: the user left before the installation; nothing changed
    Unusable,      // 1: the machine root is not prepared; nothing was shown
};
[[nodiscard]] int ExitStatus(WizardEnd end);

// The frame and its four pages in order: welcome (138), system and language
// (137), printer series (143), progress (140).
class SetupWizard {
public:
    SetupWizard(ui::Host& host, const DialogStrings& strings, InstallerValues& values,
                std::function<void()> installDriver);
    SetupWizard(const SetupWizard&) = delete;
    SetupWizard& operator=(const SetupWizard&) = delete;

    // Runs the frame modally; returns its end code.
    int DoModal() { return frame.runModal(); }

    setupDlg frame;
    WelcomeDlg welcome;
    LanguageDlg language;
    SettingDlg setting;
    CopyDlg copy;
};

// The whole program with the wizard: start-up (settings and language files
// next to the installer, model name), the wizard on `host`, the installation
// from its progress page. Problems that no window shows go to `err`.
WizardEnd RunSetupWizard(ui::Host& host, const WizardOptions& options, std::ostream& err);

// Whether `root` is a machine root prepared by winenv; says why not on `err`.
bool CheckMachineRoot(const std::filesystem::path& root, std::ostream& err);

}  // namespace kit::setup
