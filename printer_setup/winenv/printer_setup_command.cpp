#include "printer_setup/winenv/printer_setup_command.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <variant>
#include <thread>

#include "printer_setup/winenv/inf_file.h"
#include "printer_setup/winenv/machine_settings.h"
#include "printer_setup/winenv/registry.h"
#include "printer_setup/winenv/spooler.h"
#include "printer_setup/winenv/win_files.h"

namespace kit::winenv {

namespace {

using Result = PrinterSetupCommand::Result;

Result Fail(std::string message, int code = 1) { return {code, std::move(message)}; }

// The printer driver directory's DIRID in an INF.
constexpr const char* kPrinterDriverDirId = "66000";

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("\\/:") == std::string::npos &&
           name.find_first_not_of(". ") != std::string::npos;
}

bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::string DirectoryOf(const std::string& path) {
    auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

struct RegistryEntry {
    std::string key;
    std::string valueName;
    std::string data;
};

struct InstallPlan {
    std::vector<std::string> files;                 // names in INF order, no duplicates
    std::map<std::string, std::string> sources;     // lower-case name -> staged drive path
    std::vector<RegistryEntry> registry;
};

void AddFile(InstallPlan& plan, const std::string& name) {
    for (const auto& f : plan.files) {
        if (EqualNoCase(f, name)) return;
    }
    plan.files.push_back(name);
}

}  // namespace

std::optional<Result> PrinterSetupCommand::refuseUnpreparedRoot() const {
    // Nothing is created in a folder that is not a prepared machine (not even
    // the stores' lock files).
    std::error_code ec;
    if (!std::filesystem::is_regular_file(m_root.storeFile("machine.json"), ec)) {
        return Fail(m_root.folder().string() + " is not a prepared machine root");
    }
    return std::nullopt;
}

Result PrinterSetupCommand::run(const std::vector<std::string>& words) const {
    if (auto refused = refuseUnpreparedRoot()) return *refused;
    auto request = ParsePrinterSetupWords(words);
    if (auto* error = std::get_if<PrinterSetupWordsError>(&request)) return Fail(error->message, 2);
    return perform(std::get<PrinterSetupRequest>(request));
}

Result PrinterSetupCommand::run(const PrinterSetupRequest& request) const {
    if (auto refused = refuseUnpreparedRoot()) return *refused;
    return perform(request);
}

Result PrinterSetupCommand::perform(const PrinterSetupRequest& request) const {
    if (!request.install) return makeDefault(request.name);
    const std::string& name = request.name;
    if (!IsValidPrinterName(name)) {
        return Fail("the printer name is not valid (at most " + std::to_string(Spooler::kMaxPrinterName) +
                    " bytes, no control character, ',', '!' or '\\')");
    }

    MachineSettings settings = MachineSettings::Load(m_root);
    if (settings.printerSetupFault == PrinterSetupFault::Fails) {
        return Fail("the printer setup command failed (fault set on this machine)");
    }
    if (settings.printerSetupFault == PrinterSetupFault::Hangs) {
        std::this_thread::sleep_for(std::chrono::seconds(settings.hangSeconds));
        return Fail("the printer setup command hung (fault set on this machine)");
    }
    return install(request.inf, request.port, name, request.model);
}

Result PrinterSetupCommand::makeDefault(const std::string& name) const {
    WinStatus status = Spooler(m_root).setDefaultPrinter(name);
    if (!Succeeded(status)) return Fail("cannot make \"" + name + "\" the default printer: " + SystemErrorText(status));
    return {};
}

Result PrinterSetupCommand::install(const std::string& infArgument, const std::string& port,
                                    const std::string& name, const std::string& model) const {
    WinFiles files(m_root);
    Spooler spooler(m_root);
    Registry registry(m_root);

    std::string infPath = infArgument;
    if (!IsDrivePath(infPath)) {
        if (m_currentDirectory.empty()) return Fail("relative INF path without a current directory");
        infPath = m_currentDirectory + "\\" + infPath;
    }
    if (!m_root.resolve(infPath)) return Fail("INF path \"" + infArgument + "\" leaves the machine");
    auto text = files.readFile(infPath);
    if (!text) return Fail("cannot read the INF \"" + infPath + "\"");
    InfFile inf = InfFile::Parse(*text);
    const std::string infDirectory = DirectoryOf(infPath);

    // The model's install section, through the manufacturer's models sections.
    std::string installSection;
    for (const auto& maker : inf.section("Manufacturer")) {
        auto fields = SplitInfFields(maker.value);
        std::vector<std::string> candidates;
        for (std::size_t i = 1; i < fields.size(); ++i) candidates.push_back(fields[0] + "." + fields[i]);
        candidates.push_back(fields[0]);
        for (const auto& sectionName : candidates) {
            for (const auto& line : inf.section(sectionName)) {
                if (line.hasKey && EqualNoCase(line.key, model) && installSection.empty()) {
                    installSection = SplitInfFields(line.value).front();
                }
            }
        }
    }
    if (installSection.empty()) return Fail("the INF does not declare the model \"" + model + "\"");
    if (!inf.hasSection(installSection)) return Fail("the INF lacks the section [" + installSection + "]");

    auto destination = inf.value("DestinationDirs", "DefaultDestDir");
    if (!destination || SplitInfFields(*destination).front() != kPrinterDriverDirId) {
        return Fail("the INF's DefaultDestDir is not the printer driver directory");
    }

    InstallPlan plan;
    for (const auto& line : inf.section(installSection)) {
        if (!line.hasKey) continue;
        if (EqualNoCase(line.key, "CopyFiles")) {
            for (const auto& field : SplitInfFields(line.value)) {
                if (!field.empty() && field[0] == '@') {
                    AddFile(plan, field.substr(1));
                } else {
                    if (!inf.hasSection(field)) return Fail("the INF lacks the file list [" + field + "]");
                    for (const auto& entry : inf.section(field)) {
                        AddFile(plan, SplitInfFields(entry.hasKey ? entry.key : entry.value).front());
                    }
                }
            }
        } else if (EqualNoCase(line.key, "AddReg")) {
            for (const auto& sectionName : SplitInfFields(line.value)) {
                for (const auto& entry : inf.section(sectionName)) {
                    std::string raw = entry.hasKey ? entry.key + "=" + entry.value : entry.value;
                    auto f = SplitInfFields(raw);
                    if (f.size() < 5 || !EqualNoCase(f[0], "HKLM")) {
                        return Fail("unsupported registry line in [" + sectionName + "]");
                    }
                    if (f[3] != "0" && f[3] != "0x00000000" && f[3] != "0x0") {
                        return Fail("unsupported registry value type " + f[3]);
                    }
                    plan.registry.push_back({inf.expandStrings(f[1]), inf.expandStrings(f[2]),
                                             inf.expandStrings(f[4])});
                }
            }
        }
    }
    if (plan.files.empty()) return Fail("the INF names no file for the model");

    for (const auto& file : plan.files) {
        if (!IsPlainFileName(file)) return Fail("the INF names the file \"" + file + "\", which is not a plain name");
        auto entry = inf.value("SourceDisksFiles.x86", file);
        if (!entry) entry = inf.value("SourceDisksFiles", file);
        if (!entry) return Fail("the INF gives no source for \"" + file + "\"");
        auto fields = SplitInfFields(*entry);
        std::string source = infDirectory;
        if (fields.size() >= 2 && !fields[1].empty()) source += "\\" + fields[1];
        source += "\\" + file;
        if (!m_root.resolve(source)) return Fail("the source of \"" + file + "\" leaves the machine");
        if (!files.isFile(source)) return Fail("the file \"" + source + "\" is not staged");
        plan.sources[LowerAscii(file)] = source;
    }
    if (!Succeeded(spooler.openLocalServer())) return Fail("the spooler is not available");

    // Every check passed: make the changes.
    const std::string versionDirectory = std::string(Spooler::kDriverDirectory) + "\\3";
    (void)files.createDirectory(versionDirectory);
    std::vector<std::string> copied;
    for (const auto& file : plan.files) {
        std::string target = versionDirectory + "\\" + file;
        WinStatus status = files.copyFile(plan.sources[LowerAscii(file)], target, false);
        if (!Succeeded(status)) {
            for (const auto& done : copied) (void)files.deleteFile(done);
            return Fail("cannot copy \"" + file + "\": " + SystemErrorText(status));
        }
        copied.push_back(target);
    }
    for (const auto& entry : plan.registry) {
        (void)registry.createKey(entry.key);
        std::string data = entry.data;
        data.push_back('\0');
        (void)registry.setValue(entry.key, entry.valueName, Registry::kString, data);
    }
    (void)spooler.addDriver({model, Spooler::kEnvironment, plan.files});
    // The driver is in place whatever the name: a printer of that name that
    // already exists keeps it, and the command has done its work.
    if (spooler.findPrinter(name)) {
        return {0, "a printer named \"" + name + "\" already exists; its driver files were installed, the printer "
                   "itself is left as it is"};
    }
    WinStatus added = spooler.addPrinter({name, port, model});
    if (!Succeeded(added)) return Fail("cannot add the printer: " + SystemErrorText(added));
    return {};
}

}  // namespace kit::winenv
