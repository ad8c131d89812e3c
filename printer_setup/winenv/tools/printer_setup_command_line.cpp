#include "printer_setup/winenv/tools/printer_setup_command_line.h"

#include <CLI/CLI.hpp>
#include <variant>
#include <vector>

namespace kit::winenv {

ParsedPrinterSetupCommandLine ParsePrinterSetupCommandLine(int argc, const char* const* argv,
                                                           std::string defaultRoot) {
    ParsedPrinterSetupCommandLine parsed;
    PrinterSetupCommandLine& o = parsed.options;
    o.root = std::move(defaultRoot);
    CLI::App app{"Printer setup command of a machine root.\n"
                 "  kit-printer-setup --root DIR [--cwd C:\\TEMP] -- /if /f INF /r PORT /b NAME /m MODEL\n"
                 "  kit-printer-setup --root DIR -- /y /n NAME",
                 "kit-printer-setup"};
    std::vector<std::string> words;
    app.add_option("--root", o.root, "folder that stands for the machine");
    app.add_option("--cwd", o.cwd, "current directory as a drive path (for a relative INF path)");
    app.add_option("words", words, "the printer setup words (/if, /f, /y, ...)");
    app.allow_windows_style_options(false);
    app.positionals_at_end(true);
    parsed.outcome = kit::ParseQuietly(app, argc, argv);
    if (parsed.outcome.exitCode) return parsed;
    auto request = ParsePrinterSetupWords(words);
    if (auto* error = std::get_if<PrinterSetupWordsError>(&request))
        parsed.outcome = kit::UsageError("kit-printer-setup: " + error->message);
    else
        o.request = std::get<PrinterSetupRequest>(request);
    return parsed;
}

}  // namespace kit::winenv
