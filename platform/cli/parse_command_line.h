#pragma once
// The kit's command-line convention, shared by every program: --help (and --version)
// print and end the program with 0, a usage error prints the parser's message and
// ends it with 2, anything else lets the program go on.
#include <CLI/CLI.hpp>

#include <optional>

namespace kit {

// Returns the exit code when the program should end now, nullopt when it should run.
inline std::optional<int> ParseCommandLine(CLI::App& app, int argc, const char* const* argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;
    }
    return std::nullopt;
}

}  // namespace kit
