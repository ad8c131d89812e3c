// winenv: prepares and inspects a machine root.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "printer_setup/winenv/machine_setup.h"
#include "printer_setup/winenv/registry.h"
#include "printer_setup/winenv/spooler.h"
#include "printer_setup/winenv/win_files.h"
#include "printer_setup/winenv/tools/winenv_command_line.h"

namespace {

using namespace kit::winenv;

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
    const auto parsed = ParseWinenvCommandLine(argc, argv, MachineRoot::DefaultFolder().string());
    if (parsed.outcome.exitCode) return parsed.outcome.report(std::cout, std::cerr);
    const WinenvCommandLine& o = parsed.options;
    const std::string& root = o.root;
    MachineRoot machine(root);

    if (o.command == WinenvCommand::Init) {
        MachineSettings settings = o.settings;
        settings.languageId = o.languageId ? *o.languageId : LanguageIdFromEnvironment();
        WinStatus status = InitMachine(machine, settings, o.printers);
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
    if ((o.command == WinenvCommand::Printers || o.command == WinenvCommand::DefaultPrinter ||
         o.command == WinenvCommand::Forms || o.command == WinenvCommand::Drivers) && !spooler.readable()) {
        std::cerr << "winenv: the spooler's store " << machine.storeFile("spooler.json").string()
                  << " is missing or corrupt\n";
        return 1;
    }
    if (o.command == WinenvCommand::Printers) {
        for (const auto& p : spooler.printers()) {
            std::cout << OneLine(p.name) << "\tport " << OneLine(p.port) << "\tdriver " << OneLine(p.driver) << '\n';
        }
        return 0;
    }
    if (o.command == WinenvCommand::DefaultPrinter) {
        std::string name = spooler.defaultPrinter();
        if (name.empty()) {
            std::cerr << "winenv: no default printer\n";
            return 1;
        }
        std::cout << name << '\n';
        return 0;
    }
    if (o.command == WinenvCommand::Forms) {
        for (const auto& f : spooler.forms()) std::cout << OneLine(f) << '\n';
        return 0;
    }
    if (o.command == WinenvCommand::Drivers) {
        for (const auto& d : spooler.drivers()) {
            std::cout << OneLine(d.name) << "\t" << OneLine(d.environment) << '\n';
            for (const auto& f : d.files) std::cout << "  " << OneLine(f) << '\n';
        }
        return 0;
    }
    if (o.command == WinenvCommand::Registry) {
        Registry registry(machine);
        if (!registry.readable()) {
            std::cerr << "winenv: the registry " << machine.storeFile("registry.json").string() << " is corrupt\n";
            return 1;
        }
        return ShowRegistry(registry, o.key, 0);
    }
    if (o.command == WinenvCommand::Files) return ShowFiles(WinFiles(machine), o.path, 0);
    return 0;
}
