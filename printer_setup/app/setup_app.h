#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "printer_setup/app/installer_values.h"
#include "printer_setup/app/outcome_sink.h"
#include "printer_setup/app/staging.h"
#include "printer_setup/winenv/win_env.h"

namespace kit::setup {

// How an installation run ended.
enum class InstallOutcome {
    Installed,         // a printer of the model exists and was made the default; success shown
    NotInstalled,      // failure shown
    UnsupportedModel,  // the model name is not the one the driver package installs; failure shown
    SpoolerError,      // the spooler failed while listing printers; the run stopped silently
};

struct InstallOptions {
    // How long the printer setup command may run before it is abandoned.
    std::chrono::milliseconds commandTimeLimit{90000};
    // The pause between the command's end and the second look at the printers.
    std::chrono::milliseconds settlePause{100};
    // Pauses through this function (tests may pass one that returns at once).
    std::function<void(std::chrono::milliseconds)> sleep;
};

// The installer's application object: the installation run and the removal
// of an earlier installation. One thread; every call blocks until done.
class SetupApp {
public:
    static constexpr const char* kProgramName = "setup";
    static constexpr const char* kPaperForm = "papersize(80x297mm)";

    SetupApp(winenv::WinEnv& env, InstallerValues& values, OutcomeSink& sink, InstallOptions options = {});

    // Removes an earlier installation, stages the driver files, runs the
    // printer setup command, makes the printer the default printer, shows the
    // outcome and asks the wizard to end.
    InstallOutcome InstallDriver();

    // Deletes what an earlier installation of the model left, writes the
    // uninstall entry, deletes installed INF files of the model and the
    // printer's paper form.
    void RemovePreviousInstall();

    // The uninstall entry of the model under HKLM.
    void WriteUninstallEntry();

    // Deletes "<Windows>\inf\oem<n>.inf" and its ".pnf" for n = 0..99 when the
    // INF is a printer INF that names the fixed model.
    void RemoveOemInfFiles();

    // Deletes a paper form of the local print server; failures are ignored.
    void DeletePaperForm(const std::string& formName);

    [[nodiscard]] const std::string& currentDirectory() const { return m_currentDirectory; }

    // What went wrong on the way although the run went on: staging writes and
    // copies that failed, an uninstall entry that was not written. The
    // wizard's boxes do not show them; the unattended run reports them.
    [[nodiscard]] std::vector<std::string> problems() const;
    [[nodiscard]] Staging& staging() { return m_staging; }

    // The printer setup command lines: install a printer from the staged INF,
    // and make a printer the default printer.
    [[nodiscard]] static std::string InstallCommandLine(const std::string& port, const std::string& baseName);
    [[nodiscard]] static std::string DefaultPrinterCommandLine(const std::string& printerName);

    // The uninstall key for a model name.
    [[nodiscard]] static std::string UninstallKey(const std::string& modelName);

private:
    void showOutcome(bool installed, std::uint16_t languageId);

    winenv::WinEnv& m_env;
    InstallerValues& m_values;
    OutcomeSink& m_sink;
    InstallOptions m_options;
    Staging m_staging;
    std::string m_currentDirectory;
    std::vector<std::string> m_problems;
};

// Why the machine's registry or spooler cannot be used at all (a store that
// does not parse, nests too deep or is missing), or empty. Checked before an
// installation changes anything.
[[nodiscard]] std::string UnreadableStore(const winenv::WinEnv& env);

}  // namespace kit::setup
