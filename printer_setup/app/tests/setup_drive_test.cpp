// The built `setup` driven from outside through its drive mode, on fresh
// machine roots: a user clicking through to an installed printer, a user who
// cancels on any page, and the program's usage and start-up errors.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/test_support/file_contents.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "printer_setup/app/tests/temp_folder.h"
#include "printer_setup/winenv/spooler.h"
#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::setup {
namespace {

using testing::TempFolder;

// Next, Next, the series, Next; the wait lets the progress page's timer fire.
const char* const kInstallScript =
    "click 12324\n"
    "click 12324\n"
    "select 1006 0\n"
    "click 12324\n"
    "wait 1500\n";

struct DriveRun {
    int exitCode;
    std::string transcript;
};

DriveRun Drive(const winenv::testing::TempMachine& machine, const TempFolder& appDir, const std::string& script,
               const std::string& extra = "") {
    appDir.write("script.txt", script);
    const auto run = test_support::RunProgram(
        test_support::ProgramPath("setup"), "--root '" + machine.folder().string() + "' --app-dir '" +
                                                appDir.path().string() + "' --drive '" +
                                                (appDir / "script.txt").string() + "' " + extra + " 2>/dev/null");
    return {run.exitCode, run.output};
}

winenv::MachineSettings OnLanguage(std::uint16_t languageId) {
    winenv::MachineSettings settings;
    settings.languageId = languageId;
    return settings;
}

// Every file below a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const auto name = std::filesystem::relative(entry.path(), folder).string();
        files[name] = entry.is_regular_file() ? test_support::ReadFileBytes(entry.path()) : "<folder>";
    }
    return files;
}

bool Has(const std::string& transcript, const std::string& line) {
    return transcript.find(line + "\n") != std::string::npos;
}

TEST(SetupDrive, EnglishMachineInstallsTheDefaultPrinterTwiceInARow) {
    winenv::testing::TempMachine machine(OnLanguage(0x0409), {{"Office", "LPT2:", "Generic"}});
    TempFolder appDir;
    for (int run = 0; run < 2; ++run) {
        const DriveRun r = Drive(machine, appDir, std::string("show 1042\n") + kInstallScript);
        EXPECT_EQ(r.exitCode, 0) << r.transcript;
        EXPECT_TRUE(Has(r.transcript, "show 1042 \"Welcome to the Printer Driver Setup Wizard\" enabled")) << r.transcript;
        EXPECT_TRUE(Has(r.transcript, "open box \"setup\" \"The Printer Driver has been installed successfully!\""))
            << r.transcript;
        EXPECT_TRUE(Has(r.transcript, "close 102 0")) << r.transcript;
        const winenv::Spooler spooler{winenv::MachineRoot(machine.folder())};
        EXPECT_EQ(spooler.defaultPrinter(), "J57") << "run " << run;
        EXPECT_TRUE(spooler.findPrinter("J57")) << "run " << run;
        EXPECT_EQ(spooler.printers().size(), 2u) << "run " << run;
    }
}

TEST(SetupDrive, SimplifiedChineseMachineSpeaksChineseFromTheSecondRun) {
    winenv::testing::TempMachine machine(OnLanguage(0x0804));
    TempFolder appDir;
    const DriveRun first = Drive(machine, appDir, std::string("show 1042\n") + kInstallScript);
    EXPECT_EQ(first.exitCode, 0) << first.transcript;
    EXPECT_TRUE(Has(first.transcript, "show 1042 \"Welcome to the Printer Driver Setup Wizard\" enabled"))
        << first.transcript;
    // Chinese is the choice on a Chinese machine: the message is Chinese from the start.
    EXPECT_TRUE(Has(first.transcript, "open box \"setup\" \"打印机驱动程序安装成功!\"")) << first.transcript;

    const DriveRun second = Drive(machine, appDir, "show 1042\nshow 12324\nclick 12324\nclick 1038\n" +
                                                       std::string(kInstallScript).substr(12));
    EXPECT_EQ(second.exitCode, 0) << second.transcript;
    EXPECT_TRUE(Has(second.transcript, "show 1042 \"欢迎使用ZEL58系列打印机驱动安装程序向导\" enabled"))
        << second.transcript;
    EXPECT_TRUE(Has(second.transcript, "show 12324 \"下一步\" enabled")) << second.transcript;
    // English chosen on the system page.
    EXPECT_TRUE(Has(second.transcript, "open box \"setup\" \"The Printer Driver has been installed successfully!\""))
        << second.transcript;
}

TEST(SetupDrive, TraditionalChineseMachineGetsTheTraditionalMessage) {
    winenv::testing::TempMachine machine(OnLanguage(0x0404));
    TempFolder appDir;
    const DriveRun r = Drive(machine, appDir, kInstallScript);
    EXPECT_EQ(r.exitCode, 0) << r.transcript;
    EXPECT_TRUE(Has(r.transcript, "open box \"setup\" \"打印機驅動程序安裝成功!\"")) << r.transcript;
}

TEST(SetupDrive, CancelOnAnyPageEndsWithOneAndChangesNothing) {
    const char* const toPage[] = {
        "",
        "click 12324\n",
        "click 12324\nclick 12324\n",
        "click 12324\nclick 12324\nselect 1006 0\nclick 12324\n",  // before the timer fires
    };
    for (const char* steps : toPage) {
        winenv::testing::TempMachine machine(OnLanguage(0x0409), {{"Office", "LPT2:", "Generic"}});
        TempFolder appDir;
        const auto before = Snapshot(machine.folder());
        const DriveRun r = Drive(machine, appDir, std::string(steps) + "click 1061\nwait 800\n");
        EXPECT_EQ(r.exitCode, 1) << steps << r.transcript;
        EXPECT_TRUE(Has(r.transcript, "close 102 2")) << r.transcript;
        EXPECT_EQ(r.transcript.find("open box"), std::string::npos) << r.transcript;
        EXPECT_EQ(Snapshot(machine.folder()), before) << steps;
    }
}

TEST(SetupDrive, FailedInstallationEndsWithOne) {
    winenv::MachineSettings settings = OnLanguage(0x0409);
    settings.printerSetupFault = winenv::PrinterSetupFault::Fails;
    winenv::testing::TempMachine machine(settings);
    TempFolder appDir;
    const DriveRun r = Drive(machine, appDir, kInstallScript);
    EXPECT_EQ(r.exitCode, 1) << r.transcript;
    EXPECT_TRUE(Has(r.transcript, "open box \"setup\" \"The Printer Driver installation has been failed!\""))
        << r.transcript;
}

TEST(SetupDrive, EmptyPrinterNameIsRefusedWithTheFailureMessage) {
    winenv::testing::TempMachine machine(OnLanguage(0x0409));
    TempFolder appDir;
    appDir.write("setting.dll", "[Setting]\r\nLanguage=English\r\nPrinterName=");
    const auto before = Snapshot(machine.folder());
    const DriveRun r = Drive(machine, appDir, kInstallScript);
    EXPECT_EQ(r.exitCode, 1) << r.transcript;
    EXPECT_TRUE(Has(r.transcript, "open box \"setup\" \"The Printer Driver installation has been failed!\""))
        << r.transcript;
    EXPECT_EQ(Snapshot(machine.folder()), before);
}

TEST(SetupDrive, UsageAndStartErrors) {
    winenv::testing::TempMachine machine;
    TempFolder appDir;
    const auto setup = test_support::ProgramPath("setup").string();
    EXPECT_EQ(Drive(machine, appDir, "click 12324\n", "--unattended").exitCode, 2);
    EXPECT_EQ(Drive(machine, appDir, "clack 12324\n").exitCode, 2);
    EXPECT_EQ(Drive(machine, appDir, "click 4711\nclick 1061\n").exitCode, 1) << "cancelled, and a refused step";
    EXPECT_EQ(test_support::RunShell(setup + " --language english --root /nowhere 2>/dev/null").exitCode, 2);
    EXPECT_EQ(test_support::RunShell(setup + " --model '' --unattended 2>/dev/null").exitCode, 2);
    TempFolder notARoot;
    const auto r = test_support::RunShell(setup + " --root '" + notARoot.path().string() + "' --app-dir '" +
                                          appDir.path().string() + "' --drive /dev/null 2>&1");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("is not a prepared machine root"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace kit::setup
