#include "printer_setup/app/setup_command_line.h"

#include <CLI/CLI.hpp>
#include <utility>

namespace kit::setup {

ParsedSetupCommandLine ParseSetupCommandLine(int argc, const char* const* argv, SetupCommandLine defaults) {
    ParsedSetupCommandLine parsed{std::move(defaults), {}};
    SetupCommandLine& o = parsed.options;
    CLI::App app{"Printer driver installer for the J57 receipt printer.", "setup"};
    std::string model;
    app.add_option("--root", o.root, "folder that stands for the machine")->capture_default_str();
    app.add_option("--app-dir", o.appDir, "the installer's folder: setting.dll and the Language folder")
        ->capture_default_str();
    app.add_flag("--unattended", o.unattended, "install without the wizard and print the outcome");
    app.add_option("--drive", o.driveScript,
                   "run the wizard without a display, applying the steps of SCRIPT (- for standard input)");
    app.add_option("--language", o.language, "with --unattended: language of the printer files and the message")
        ->check(CLI::IsMember({"chinese", "english"}));
    app.add_option("--model", model, "model name, instead of the \"PrinterName\" setting of setting.dll");
    app.add_option("--command-time-limit", o.timeLimitMs, "milliseconds the printer setup command may run")
        ->check(CLI::Range(1LL, 3600000LL))
        ->capture_default_str();
    parsed.outcome = kit::ParseQuietly(app, argc, argv);
    if (parsed.outcome.exitCode) return parsed;
    if (o.unattended && !o.driveScript.empty()) {
        parsed.outcome = kit::UsageError("setup: --drive runs the wizard; it does not go with --unattended");
    } else if (!o.language.empty() && !o.unattended) {
        parsed.outcome = kit::UsageError("setup: --language goes with --unattended; the wizard asks for the language");
    } else if (app.count("--model")) {
        if (model.empty() || model.size() > 259)
            parsed.outcome = kit::UsageError("setup: --model needs a name of 1 to 259 characters");
        else
            o.model = model;
    }
    return parsed;
}

}  // namespace kit::setup
