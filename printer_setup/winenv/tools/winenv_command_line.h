#pragma once
// winenv's command line: the machine root and the command, with init's settings
// converted and checked. Read from argv without printing and without touching the root.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/cli/quiet_parse.h"
#include "printer_setup/winenv/machine_settings.h"
#include "printer_setup/winenv/spooler.h"

namespace kit::winenv {

enum class WinenvCommand { Init, Printers, DefaultPrinter, Forms, Drivers, Registry, Files };

struct WinenvCommandLine {
    std::string root;
    WinenvCommand command = WinenvCommand::Init;
    // init: the settings (the language left to the caller when no --langid is given)
    // and the local printers.
    MachineSettings settings;
    std::optional<std::uint16_t> languageId;
    std::vector<PrinterRecord> printers;
    std::string key;          // registry
    std::string path = "C:\\";  // files
};

struct ParsedWinenvCommandLine {
    WinenvCommandLine options;
    // Set when the program ends now (help or a usage error), with what it prints.
    kit::CommandLineOutcome outcome;
};

// defaultRoot is the root the help shows and that applies without --root.
ParsedWinenvCommandLine ParseWinenvCommandLine(int argc, const char* const* argv, std::string defaultRoot);

}  // namespace kit::winenv
