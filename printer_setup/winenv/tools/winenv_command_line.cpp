#include "printer_setup/winenv/tools/winenv_command_line.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>

namespace kit::winenv {

namespace {

bool ParseVersion(const std::string& text, MachineSettings& settings) {
    unsigned major = 0, minor = 0;
    char dot = 0;
    if (std::sscanf(text.c_str(), "%u%c%u", &major, &dot, &minor) != 3 || dot != '.') return false;
    if (major > 255 || minor > 255) return false;
    settings.major = major;
    settings.minor = minor;
    return true;
}

}  // namespace

ParsedWinenvCommandLine ParseWinenvCommandLine(int argc, const char* const* argv, std::string defaultRoot) {
    ParsedWinenvCommandLine parsed;
    WinenvCommandLine& o = parsed.options;
    o.root = std::move(defaultRoot);
    CLI::App app{"Prepares and inspects the folder that stands for a Windows machine.", "winenv"};
    app.add_option("--root", o.root, "folder that stands for the machine")->capture_default_str();
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
    registryCmd->add_option("KEY", o.key, "key path below HKEY_LOCAL_MACHINE");
    auto* filesCmd = app.add_subcommand("files", "list a directory tree of the machine");
    filesCmd->add_option("PATH", o.path, "drive path")->capture_default_str();

    parsed.outcome = kit::ParseQuietly(app, argc, argv);
    if (parsed.outcome.exitCode) return parsed;
    o.command = *init          ? WinenvCommand::Init
                : *printersCmd ? WinenvCommand::Printers
                : *defaultCmd  ? WinenvCommand::DefaultPrinter
                : *formsCmd    ? WinenvCommand::Forms
                : *driversCmd  ? WinenvCommand::Drivers
                : *registryCmd ? WinenvCommand::Registry
                               : WinenvCommand::Files;
    if (o.command != WinenvCommand::Init) return parsed;

    MachineSettings& settings = o.settings;
    auto p = ParsePlatform(platform);
    auto sf = ParseSpoolerFault(spoolerFault);
    auto pf = ParsePrinterSetupFault(setupFault);
    if (!p || !sf || !pf) {
        parsed.outcome = kit::UsageError("winenv: unknown --platform or fault name");
        return parsed;
    }
    if (!ParseVersion(version, settings)) {
        parsed.outcome = kit::UsageError("winenv: --version must look like 6.1");
        return parsed;
    }
    settings.platform = *p;
    settings.build = build;
    settings.versionRecordAvailable = !noRecord;
    settings.spoolerFault = *sf;
    settings.printerSetupFault = *pf;
    settings.hangSeconds = hangSeconds;
    if (!langid.empty()) {
        char* end = nullptr;
        unsigned long value = std::strtoul(langid.c_str(), &end, 0);
        if (end == langid.c_str() || *end != '\0' || value > 0xFFFF) {
            parsed.outcome = kit::UsageError("winenv: --langid must be a 16-bit number such as 0x0804");
            return parsed;
        }
        o.languageId = static_cast<std::uint16_t>(value);
    }
    for (const auto& setup : printers) {
        auto eq = setup.find('=');
        o.printers.push_back({setup.substr(0, eq), eq == std::string::npos ? "LPT1:" : setup.substr(eq + 1),
                              "Generic / Text Only"});
    }
    return parsed;
}

}  // namespace kit::winenv
