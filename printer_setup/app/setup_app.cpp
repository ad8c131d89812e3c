#include "printer_setup/app/setup_app.h"

#include <array>
#include <thread>

#include "printer_setup/app/outcome_messages.h"
#include "printer_setup/app/printer_list.h"
#include "printer_setup/app/reg.h"

namespace kit::setup {

namespace {

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// Whether a printer is the one the printer setup command was asked to create:
// named exactly the model, or the spooler's copy name for it ("J57 (Copy 2)").
// Another printer whose name merely contains the model ("Old J57 clone") is
// not the installation's printer.
bool IsModelPrinter(const std::string& name, std::string_view model) {
    if (winenv::EqualNoCase(name, model)) return true;
    const std::string prefix = std::string(model) + " (Copy ";
    if (name.size() <= prefix.size() + 1 || !winenv::EqualNoCase(name.substr(0, prefix.size()), prefix) ||
        name.back() != ')') {
        return false;
    }
    const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - 1);
    return number.size() <= 9 && number.find_first_not_of("0123456789") == std::string::npos && number[0] != '0';
}

std::string Cut(std::string text, std::size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

// Splits a text file as a 260-byte line reader does: CRLF read as LF, pieces
// of at most 259 characters.
std::vector<std::string> ReadPieces(std::string_view bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text.push_back(bytes[i]);
    }
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t newline = text.find('\n', pos);
        std::size_t end = newline == std::string::npos ? text.size() : newline + 1;
        if (end - pos > kLinePieceLimit) end = pos + kLinePieceLimit;
        pieces.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return pieces;
}

}  // namespace

SetupApp::SetupApp(winenv::WinEnv& env, InstallerValues& values, OutcomeSink& sink, InstallOptions options)
    : m_env(env), m_values(values), m_sink(sink), m_options(std::move(options)), m_staging(env, values) {
    if (!m_options.sleep) {
        m_options.sleep = [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
    }
}

std::string SetupApp::UninstallKey(const std::string& modelName) {
    return Cut("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + modelName + " printer", 259);
}

std::string SetupApp::InstallCommandLine(const std::string& port, const std::string& baseName) {
    return Cut("rundll32 printui.dll,PrintUIEntry /if /f C:\\TEMP\\J57.INF /r \"" + port + "\" /b \"" + baseName +
                   "\" /m \"J57\" ",
               999);
}

std::string SetupApp::DefaultPrinterCommandLine(const std::string& printerName) {
    return Cut("rundll32 printui.dll,PrintUIEntry /y /n \"" + printerName + "\"", 999);
}

void SetupApp::showOutcome(bool installed, std::uint16_t languageId) {
    MessageLanguage language = OutcomeLanguage(m_values.g_LanguageChoice, languageId);
    // The outcome boxes carry no icon; only the removal's "ERROR" box has one.
    m_sink.showMessage(kProgramName, OutcomeMessageText(installed, language), MessageIcon::None);
}

InstallOutcome SetupApp::InstallDriver() {
    const std::uint16_t languageId = m_env.system.getSystemDefaultLangId();

    // The driver package declares only its own model: the printer command, the
    // INF and the staged file names must agree, so another name is refused
    // before anything changes.
    if (m_values.g_ModelName != kFixedModel) {
        showOutcome(false, languageId);
        m_sink.postQuit();
        return InstallOutcome::UnsupportedModel;
    }

    m_staging.ClearStaging();
    RemovePreviousInstall();
    m_staging.StageDriverFiles(m_values.g_SystemCode, languageId, m_values.g_LanguageChoice,
                               m_values.g_ModelName);
    m_currentDirectory = Staging::kTempDirectory;

    // A machine without any local printer simply has no printer of the model
    // yet; only a spooler failure stops the run here.
    PrinterList before = EnumerateLocalPrinters(m_env.spooler);
    if (before.status == PrinterList::Status::SizeQueryFailed ||
        before.status == PrinterList::Status::CallFailed) {
        return InstallOutcome::SpoolerError;
    }

    const std::string command = InstallCommandLine("LPT1:", kFixedModel);
    bool found = false;
    std::string printerName;
    if (auto process = m_env.processes.createProcess(command, m_currentDirectory)) {
        if (process->wait(m_options.commandTimeLimit) == winenv::ChildProcess::WaitOutcome::Ended) {
            m_options.sleep(m_options.settlePause);
            PrinterList after = EnumerateLocalPrinters(m_env.spooler);
            if (after.status == PrinterList::Status::SizeQueryFailed ||
                after.status == PrinterList::Status::CallFailed) {
                return InstallOutcome::SpoolerError;
            }
            // From the last to the first, so the first match in spooler order stays.
            for (auto it = after.names.rbegin(); it != after.names.rend(); ++it) {
                if (IsModelPrinter(*it, kFixedModel)) {
                    printerName = Cut(*it, 259);
                    found = true;
                }
            }
        }
        // A command past its time limit is released, not stopped.
    }

    if (found) {
        (void)m_env.processes.startDetached(DefaultPrinterCommandLine(printerName), m_currentDirectory);
    }
    showOutcome(found, languageId);
    m_sink.postQuit();
    m_staging.ClearStaging();
    return found ? InstallOutcome::Installed : InstallOutcome::NotInstalled;
}

void SetupApp::RemovePreviousInstall() {
    const std::string& m = m_values.g_ModelName;
    PrinterList printers = EnumerateLocalPrinters(m_env.spooler);
    int count = 0;
    for (const auto& name : printers.names) {
        if (Contains(name, m)) ++count;
    }
    if (count == 1) {
        const std::string d = m_staging.DriverDirectory();
        const std::array<std::string, 5> names{m + ".GPD", m + ".INI", m + "RES.dll", m + "D.dll", m + "F.dll"};
        for (const auto& name : names) (void)m_env.files.deleteFile(d + "\\" + name);
        for (const auto& name : names) (void)m_env.files.deleteFile(d + "\\3\\" + name);
        for (const auto& name : names) (void)m_env.files.deleteFile(std::string("c:\\temp\\") + name);
        m_staging.DeleteStagedFiles();
    }
    WriteUninstallEntry();
    RemoveOemInfFiles();

    PrinterList again = EnumerateLocalPrinters(m_env.spooler);
    if (again.status == PrinterList::Status::CallFailed) {
        m_sink.showMessage("ERROR", winenv::SystemErrorText(again.error), MessageIcon::Information);
        return;
    }
    DeletePaperForm(kPaperForm);
}

void SetupApp::WriteUninstallEntry() {
    const std::string& m = m_values.g_ModelName;
    const std::string key = UninstallKey(m);
    const std::string directory = m_staging.DriverDirectory();
    // Without the driver directory the entry would name "\uninstall<M>.exe",
    // which nothing could ever run: no entry then.
    if (directory.empty()) {
        m_problems.push_back("no uninstall entry was written: the spooler names no printer driver directory");
        return;
    }
    Reg reg(m_env.registry);
    bool written = reg.CreateKey(key);
    const std::string uninstall = Cut(directory + "\\" + "uninstall" + m + ".exe", 259);
    const std::string values[][2] = {
        {"DisplayName", Cut(m + " printer driver uninstall", 259)},
        {"UninstallString", uninstall},
        {"DisplayIcon", Cut(uninstall + ",-0", 259)},
        {"Publisher", Cut(m + " printer", 259)},
    };
    for (const auto& [name, data] : values) {
        written = reg.SetValue(key, name, winenv::Registry::kString, data.c_str(), data.size() + 1) && written;
    }
    if (!written) m_problems.push_back("the uninstall entry HKLM\\" + key + " could not be written");
}

std::vector<std::string> SetupApp::problems() const {
    std::vector<std::string> all = m_problems;
    all.insert(all.end(), m_staging.failures().begin(), m_staging.failures().end());
    return all;
}

std::string UnreadableStore(const winenv::WinEnv& env) {
    if (!env.registry.readable()) return "the registry of the machine (registry.json) cannot be read: it is corrupt";
    if (!env.spooler.readable()) return "the spooler's store (spooler.json) is missing or corrupt";
    return {};
}

void SetupApp::RemoveOemInfFiles() {
    const std::string windows = winenv::SystemInfo::windowsDirectory();
    for (int n = 0; n <= 99; ++n) {
        const std::string inf = windows + "\\inf\\oem" + std::to_string(n) + ".inf";
        const std::string pnf = windows + "\\inf\\oem" + std::to_string(n) + ".pnf";
        auto text = m_env.files.readFile(inf);
        if (!text) continue;
        bool classMark = false, makerMark = false, gpdMark = false, belongs = false;
        for (const auto& line : ReadPieces(*text)) {
            if (Contains(line, "Class=Printer")) classMark = true;
            if (Contains(line, "[Manufacturer]")) makerMark = true;
            if (Contains(line, ".GPD")) gpdMark = true;
            if (classMark && (makerMark || gpdMark) && Contains(line, kFixedModel)) {
                belongs = true;
                break;
            }
        }
        if (belongs) {
            (void)m_env.files.deleteFile(inf);
            (void)m_env.files.deleteFile(pnf);
        }
    }
}

void SetupApp::DeletePaperForm(const std::string& formName) {
    if (!winenv::Succeeded(m_env.spooler.openLocalServer())) return;
    (void)m_env.spooler.deleteForm(formName);
}

}  // namespace kit::setup
