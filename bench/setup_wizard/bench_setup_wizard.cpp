// bench_setup_wizard: time of `setup` driven through its wizard by a script
// (Next, Next, the series, Next; the progress page installs after its 500 ms
// timer) from start to end, against the part no wizard can avoid: the same
// installation run unattended plus the 500 ms the progress page waits.
#include <stdlib.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/cli/parse_command_line.h"
#include "platform/test_support/program_run.h"
#include "printer_setup/winenv/machine_setup.h"
#include "printer_setup/winenv/process_runner.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

fs::path TempFolder(const char* name) {
    std::string pattern = (fs::temp_directory_path() / name).string() + ".XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
}

fs::path FreshRoot() {
    fs::path root = TempFolder("bench-winroot");
    (void)kit::winenv::InitMachine(kit::winenv::MachineRoot(root), kit::winenv::MachineSettings{},
                                   {{"Office", "LPT2:", "Generic"}});
    return root;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs setup on a fresh machine root; the time from start to exit, or a
// negative value when it did not install.
double TimedRun(const fs::path& setup, const std::string& arguments) {
    const fs::path root = FreshRoot();
    const auto start = Clock::now();
    const auto run = kit::test_support::RunProgram(setup, "--root '" + root.string() + "' " + arguments);
    const double ms = Milliseconds(Clock::now() - start);
    fs::remove_all(root);
    if (run.exitCode != 0) {
        std::fprintf(stderr, "bench_setup_wizard: setup %s ended with %d:\n%s\n", arguments.c_str(), run.exitCode,
                     run.output.c_str());
        return -1;
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Time of the wizard driven by a script against the unattended installation plus the progress "
                 "page's 500 ms timer.",
                 "bench_setup_wizard"};
    int runs = 5;
    app.add_option("--runs", runs, "runs of each kind")->check(CLI::Range(1, 100))->capture_default_str();
    if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

    const fs::path setup = kit::winenv::ProcessRunner::DefaultPrinterSetupProgram().parent_path() / "setup";
    const fs::path appDir = TempFolder("bench-setup-app");
    const fs::path script = appDir / "install.txt";
    // The wait ends while the installation runs, so the program ends right
    // after it (the drive mode then closes the outcome box).
    std::ofstream(script) << "click 12324\nclick 12324\nselect 1006 0\nclick 12324\nwait 600\n";
    const std::string common = "--app-dir '" + appDir.string() + "' ";

    // The first run writes the settings and language files; both kinds then
    // start as a second run does.
    if (TimedRun(setup, common + "--unattended") < 0) return 1;

    double unattendedMs = 0;
    double wizardMs = 0;
    for (int i = 0; i < runs; ++i) {
        const double unattended = TimedRun(setup, common + "--unattended");
        const double wizard = TimedRun(setup, common + "--drive '" + script.string() + "'");
        if (unattended < 0 || wizard < 0) return 1;
        unattendedMs += unattended;
        wizardMs += wizard;
    }
    unattendedMs /= runs;
    wizardMs /= runs;
    fs::remove_all(appDir);

    const double boundMs = unattendedMs + 500.0;
    std::printf("bench_setup_wizard: %d runs each\n", runs);
    std::printf("  setup --unattended, start to end:          %8.2f ms\n", unattendedMs);
    std::printf("  setup --drive (wizard), start to end:      %8.2f ms\n", wizardMs);
    std::printf("  bound (unattended + 500 ms timer):         %8.2f ms\n", boundMs);
    std::printf("  ratio wizard / bound:                      %8.2f\n", wizardMs / boundMs);
    return 0;
}
