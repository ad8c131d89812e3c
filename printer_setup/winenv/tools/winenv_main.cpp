// winenv: prepares and inspects a machine root.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>

#include "printer_setup/winenv/machine_setup.h"
#include "printer_setup/winenv/registry.h"
#include "printer_setup/winenv/spooler.h"
#include "printer_setup/winenv/win_files.h"
#include "platform/cli/parse_command_line.h"

namespace {

using namespace kit::winenv;

bool ParseVersion(const std::string& text, MachineSettings& settings) {
    unsigned major = 0, minor = 0;
    char dot = 0;
    if (std::sscanf(text.c_str(), "%u%c%u", &major, &dot, &minor) != 3 || dot != '.') return false;
    if (major > 255 || minor > 255) return false;
    settings.major = major;
    settings.minor = minor;
    return true;
}

std::string Printable(const std::string& data) {
    std::string out;
    for (char c : data) {
        if (c == '\0') break;
        out.push_back(c);
    }
    return out;
}

// A text from a store as one line: control bytes of a hand-edited store are
// shown escaped, so they cannot forge lines or columns.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

int ShowRegistry(const Registry& registry, const std::string& key, int depth) {
    auto listing = registry.list(key);
    if (!listing) {
        std::cerr << "winenv: no registry key \"" << key << "\"\n";
        return 1;
    }
    std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    std::cout << indent << (key.empty() ? "HKEY_LOCAL_MACHINE" : key) << '\n';
    for (const auto& v : listing->values) {
        std::cout << indent << "  " << (v.name.empty() ? "(Default)" : v.name) << " = ";
        if (v.type == Registry::kString) std::cout << '"' << Printable(v.data) << '"';
        else std::cout << "(type " << v.type << ", " << v.data.size() << " bytes)";
        std::cout << '\n';
    }
    for (const auto& sub : listing->subkeys) {
        if (ShowRegistry(registry, key.empty() ? sub : key + "\\" + sub, depth + 1) != 0) return 1;
    }
    return 0;
}

int ShowFiles(const WinFiles& files, const std::string& path, int depth) {
    auto entries = files.list(path);
    if (!entries) {
        std::cerr << "winenv: no directory \"" << path << "\"\n";
        return 1;
    }
    for (const auto& e : *entries) {
        std::string child = path + (path.ends_with("\\") ? "" : "\\") + e.name;
        std::cout << std::string(static_cast<std::size_t>(depth) * 2, ' ') << e.name;
        if (e.directory) {
            std::cout << "\\\n";
            if (ShowFiles(files, child, depth + 1) != 0) return 1;
        } else {
            std::cout << "  (" << e.size << " bytes)\n";
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Prepares and inspects the folder that stands for a Windows machine.", "winenv"};
    std::string root = MachineRoot::DefaultFolder().string();
    app.add_option("--root", root, "folder that stands for the machine")->capture_default_str();
    app.require_subcommand(1);

    auto* init = app.add_subcommand("init", "create the machine: directories, settings, spooler");
    std::string version = "6.1", platform = "nt", langid, spoolerFault = "none", setupFault = "none";
    unsigned build = 7601, hangSeconds = 600;
    bool noRecord = false;
    std::vector<std::string> printers;
    init->add_option("--version", version, "Windows version MAJOR.MINOR")->capture_default_str();
    init->add_option("--platform", platform, "nt, 9x or win32s")->capture_default_str();
    init->add_option("--build", build, "build number")->capture_default_str();
    init->add_flag("--no-version-record", noRecord, "the detailed version query fails");
    init->add_option("--langid", langid, "system default language identifier (default from the locale)");
    init->add_option("--printer", printers, "a local printer NAME or NAME=PORT (repeatable)");
    init->add_option("--spooler-fault", spoolerFault, "none, stopped or enum-call-fails")->capture_default_str();
    init->add_option("--printer-setup-fault", setupFault, "none, fails or hangs")->capture_default_str();
    init->add_option("--hang-seconds", hangSeconds, "how long a hanging printer setup command stays")
        ->capture_default_str();

    auto* printersCmd = app.add_subcommand("printers", "list the local printers in spooler order");
    auto* defaultCmd = app.add_subcommand("default-printer", "show the default printer");
    auto* formsCmd = app.add_subcommand("forms", "list the paper forms of the print server");
    auto* driversCmd = app.add_subcommand("drivers", "list the installed printer drivers");
    auto* registryCmd = app.add_subcommand("registry", "show a local-machine key and everything below it");
    std::string key;
    registryCmd->add_option("KEY", key, "key path below HKEY_LOCAL_MACHINE");
    auto* filesCmd = app.add_subcommand("files", "list a directory tree of the machine");
    std::string path = "C:\\";
    filesCmd->add_option("PATH", path, "drive path")->capture_default_str();

    if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
    MachineRoot machine(root);

    if (*init) {
        MachineSettings settings;
        auto p = ParsePlatform(platform);
        auto sf = ParseSpoolerFault(spoolerFault);
        auto pf = ParsePrinterSetupFault(setupFault);
        if (!p || !sf || !pf) {
            std::cerr << "winenv: unknown --platform or fault name\n";
            return 2;
        }
        if (!ParseVersion(version, settings)) {
            std::cerr << "winenv: --version must look like 6.1\n";
            return 2;
        }
        settings.platform = *p;
        settings.build = build;
        settings.versionRecordAvailable = !noRecord;
        settings.spoolerFault = *sf;
        settings.printerSetupFault = *pf;
        settings.hangSeconds = hangSeconds;
        settings.languageId = LanguageIdFromEnvironment();
        if (!langid.empty()) {
            char* end = nullptr;
            unsigned long value = std::strtoul(langid.c_str(), &end, 0);
            if (end == langid.c_str() || *end != '\0' || value > 0xFFFF) {
                std::cerr << "winenv: --langid must be a 16-bit number such as 0x0804\n";
                return 2;
            }
            settings.languageId = static_cast<std::uint16_t>(value);
        }
        std::vector<PrinterRecord> records;
        for (const auto& setup : printers) {
            auto eq = setup.find('=');
            records.push_back({setup.substr(0, eq), eq == std::string::npos ? "LPT1:" : setup.substr(eq + 1),
                               "Generic / Text Only"});
        }
        WinStatus status = InitMachine(machine, settings, records);
        if (!Succeeded(status)) {
            std::cerr << "winenv: cannot prepare " << root << ": " << SystemErrorText(status) << '\n';
            return 1;
        }
        std::printf("machine %s: Windows %u.%u (%s), language 0x%04X\n", root.c_str(), settings.major,
                    settings.minor, ToString(settings.platform).c_str(), settings.languageId);
        return 0;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(machine.storeFile("machine.json"), ec)) {
        std::cerr << "winenv: " << root << " is not a prepared machine root (prepare it with: winenv --root DIR init)\n";
        return 1;
    }
    Spooler spooler(machine);
    if ((*printersCmd || *defaultCmd || *formsCmd || *driversCmd) && !spooler.readable()) {
        std::cerr << "winenv: the spooler's store " << machine.storeFile("spooler.json").string()
                  << " is missing or corrupt\n";
        return 1;
    }
    if (*printersCmd) {
        for (const auto& p : spooler.printers()) {
            std::cout << OneLine(p.name) << "\tport " << OneLine(p.port) << "\tdriver " << OneLine(p.driver) << '\n';
        }
        return 0;
    }
    if (*defaultCmd) {
        std::string name = spooler.defaultPrinter();
        if (name.empty()) {
            std::cerr << "winenv: no default printer\n";
            return 1;
        }
        std::cout << name << '\n';
        return 0;
    }
    if (*formsCmd) {
        for (const auto& f : spooler.forms()) std::cout << OneLine(f) << '\n';
        return 0;
    }
    if (*driversCmd) {
        for (const auto& d : spooler.drivers()) {
            std::cout << OneLine(d.name) << "\t" << OneLine(d.environment) << '\n';
            for (const auto& f : d.files) std::cout << "  " << OneLine(f) << '\n';
        }
        return 0;
    }
    if (*registryCmd) {
        Registry registry(machine);
        if (!registry.readable()) {
            std::cerr << "winenv: the registry " << machine.storeFile("registry.json").string() << " is corrupt\n";
            return 1;
        }
        return ShowRegistry(registry, key, 0);
    }
    if (*filesCmd) return ShowFiles(WinFiles(machine), path, 0);
    return 0;
}
