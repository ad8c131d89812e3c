#pragma once
// kit-printer-setup's command line: the machine root, the current directory and the
// printer setup words, read and checked without printing and without touching the root.
#include <string>

#include "platform/cli/quiet_parse.h"
#include "printer_setup/winenv/printer_setup_words.h"

namespace kit::winenv {

struct PrinterSetupCommandLine {
    std::string root;
    std::string cwd;  // the current directory as a drive path
    PrinterSetupRequest request;
};

struct ParsedPrinterSetupCommandLine {
    PrinterSetupCommandLine options;
    // Set when the program ends now (help or a usage error), with what it prints.
    kit::CommandLineOutcome outcome;
};

// defaultRoot is the root that applies without --root.
ParsedPrinterSetupCommandLine ParsePrinterSetupCommandLine(int argc, const char* const* argv,
                                                           std::string defaultRoot);

}  // namespace kit::winenv
