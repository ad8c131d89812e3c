// The installation with the disk failing at each of its own file writes in turn (the
// printer setup command is a process of its own and is not swept here): the run names
// the failure (failure outcome, or a problem the unattended run reports), every store
// of the machine is whole (the old or the new file, never a mix), and no temporary file
// is left behind.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/test_support/file_fault_sweep.h"
#include "platform/test_support/program_path.h"
#include "printer_setup/app/setup_app.h"
#include "printer_setup/app/tests/recording_sink.h"
#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::setup {
namespace {

using namespace std::chrono_literals;

struct Installation {
    Installation()
        : machine({}, {{"Office", "LPT2:", "Generic"}}),
          env(machine.folder(), test_support::ProgramPath("kit-printer-setup")) {
        values.g_SystemCode = 10;
        values.g_LanguageChoice = 1;
    }
    winenv::testing::TempMachine machine;
    winenv::WinEnv env;
    InstallerValues values;
    testing::RecordingSink sink;
};

void ExpectWholeMachine(const std::filesystem::path& root) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(name.ends_with(".tmp")) << "temporary file left: " << entry.path();
        if (entry.is_regular_file() && name.ends_with(".json")) {
            std::ifstream in(entry.path());
            EXPECT_FALSE(nlohmann::json::parse(in, nullptr, false).is_discarded()) << "store not whole: " << entry.path();
        }
    }
}

TEST(InstallFaultSweep, EveryFailingWriteIsNamedAndLeavesWholeFiles) {
    std::unique_ptr<Installation> t;
    InstallOutcome outcome{};
    std::vector<std::string> problems;
    const int runs = test_support::SweepFileFaults(
        [&] { t = std::make_unique<Installation>(); },
        [&] {
            SetupApp app(t->env, t->values, t->sink, {});
            outcome = app.InstallDriver();
            problems = app.problems();
            t->env.processes.waitForDetached(60s);
            return outcome == InstallOutcome::Installed && problems.empty();
        },
        [&](bool fired, bool succeeded) {
            EXPECT_EQ(succeeded, !fired) << "outcome " << static_cast<int>(outcome) << ", problems "
                                         << problems.size();
            ExpectWholeMachine(t->machine.folder());
        });
    EXPECT_GT(runs, 5) << "the installation writes several files of its own";
}

}  // namespace
}  // namespace kit::setup
