#pragma once
// Parsing a command line without printing: the program's parse function returns
// what it would print and how it would end, and main() prints it. A fuzz target
// runs the same parse function and never writes to a terminal.
#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <sstream>
#include <string>

namespace kit {

struct CommandLineOutcome {
    // Set when the program should end now: 0 after --help, 2 after a usage error.
    std::optional<int> exitCode;
    std::string out;  // the help text
    std::string err;  // the usage error

    // Prints the texts and returns the exit code (only when exitCode is set).
    int report(std::ostream& toOut, std::ostream& toErr) const {
        toOut << out;
        toErr << err;
        toOut.flush();
        return exitCode.value_or(0);
    }
};

// The kit's convention of ParseCommandLine(), with the texts kept instead of printed.
inline CommandLineOutcome ParseQuietly(CLI::App& app, int argc, const char* const* argv) {
    CommandLineOutcome outcome;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        std::ostringstream out, err;
        outcome.exitCode = app.exit(error, out, err) == 0 ? 0 : 2;
        outcome.out = out.str();
        outcome.err = err.str();
    }
    return outcome;
}

// A usage error found after parsing: the message (one line) on stderr, exit 2.
inline CommandLineOutcome UsageError(std::string message) {
    CommandLineOutcome outcome;
    outcome.exitCode = 2;
    outcome.err = std::move(message) + "\n";
    return outcome;
}

}  // namespace kit
