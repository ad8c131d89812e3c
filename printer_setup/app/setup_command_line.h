#pragma once
// setup's command line: where the machine and the installer's files are, wizard or
// unattended, and the choices that may be given ahead. Read from argv and checked
// without printing and without touching the machine.
#include <optional>
#include <string>

#include "platform/cli/quiet_parse.h"

namespace kit::setup {

struct SetupCommandLine {
    std::string root;    // the folder that stands for the machine
    std::string appDir;  // the installer's folder
    bool unattended = false;
    std::string driveScript;  // run the wizard driven by this script ("-": standard input)
    std::string language;     // "chinese", "english" or empty (with --unattended only)
    std::optional<std::string> model;
    long long timeLimitMs = 90000;
};

struct ParsedSetupCommandLine {
    SetupCommandLine options;
    // Set when the program ends now (help or a usage error), with what it prints.
    kit::CommandLineOutcome outcome;
};

// defaults holds the folders the help shows and that apply when no option names them.
ParsedSetupCommandLine ParseSetupCommandLine(int argc, const char* const* argv, SetupCommandLine defaults);

}  // namespace kit::setup
