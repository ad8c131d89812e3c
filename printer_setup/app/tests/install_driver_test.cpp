// The installation run against a machine root, with the printer setup
// command as a real process.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "printer_setup/app/setup_app.h"
#include "printer_setup/app/tests/recording_sink.h"
#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::setup {
namespace {

using namespace std::chrono_literals;
using winenv::PrinterRecord;

const char* const kSuccess = "The Printer Driver has been installed successfully!";
const char* const kFailure = "The Printer Driver installation has been failed!";

struct Installation {
    explicit Installation(std::vector<PrinterRecord> printers, winenv::MachineSettings settings = {})
        : machine(settings, printers), env(machine.folder(), test_support::ProgramPath("kit-printer-setup")) {
        values.g_SystemCode = 10;
        values.g_LanguageChoice = 1;
    }

    InstallOutcome run(std::chrono::milliseconds limit = 60s) {
        InstallOptions options;
        options.commandTimeLimit = limit;
        SetupApp app(env, values, sink, options);
        InstallOutcome outcome = app.InstallDriver();
        env.processes.waitForDetached(60s);
        return outcome;
    }

    void setFault(winenv::PrinterSetupFault fault, unsigned hangSeconds = 600) {
        auto settings = winenv::MachineSettings::Load(env.root);
        settings.printerSetupFault = fault;
        settings.hangSeconds = hangSeconds;
        ASSERT_TRUE(settings.save(env.root));
    }

    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (const auto& m : sink.messages) texts.push_back(m.text);
        return texts;
    }

    winenv::testing::TempMachine machine;
    winenv::WinEnv env;
    InstallerValues values;
    testing::RecordingSink sink;
};

TEST(InstallDriver, FreshMachineWithOtherPrintersGetsTheDefaultJ57) {
    Installation t({{"Office", "LPT2:", "Generic"}});
    ASSERT_EQ(t.run(), InstallOutcome::Installed);
    auto printer = t.env.spooler.findPrinter("J57");
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->port, "LPT1:");
    EXPECT_EQ(printer->driver, "J57");
    EXPECT_EQ(t.env.spooler.defaultPrinter(), "J57");
    EXPECT_EQ(t.shown(), std::vector<std::string>{kSuccess});
    EXPECT_EQ(t.sink.messages[0].title, "setup");
    EXPECT_EQ(t.sink.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(t.sink.quitRequests, 1);
    // The command took the staged files; the staging area is gone afterwards.
    const std::string version = std::string(winenv::Spooler::kDriverDirectory) + "\\3\\";
    for (const char* name : {"J57.GPD", "ZIKU.UFM", "J57.INI", "J57RES.DLL", "J57D.DLL", "J57F.DLL"}) {
        EXPECT_TRUE(t.env.files.isFile(version + name)) << name;
    }
    EXPECT_EQ(t.env.registry.stringValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM3:"),
              "38400,n,8,1,p");
    EXPECT_EQ(t.env.registry.stringValue(SetupApp::UninstallKey("J57"), "Publisher"), "J57 printer");
    EXPECT_FALSE(t.env.files.isDirectory("C:\\TEMP"));
}

TEST(InstallDriver, CommandLinesAreThoseOfThePrinterSetupCommand) {
    EXPECT_EQ(SetupApp::InstallCommandLine("LPT1:", "J57"),
              "rundll32 printui.dll,PrintUIEntry /if /f C:\\TEMP\\J57.INF /r \"LPT1:\" /b \"J57\" /m \"J57\" ");
    EXPECT_EQ(SetupApp::DefaultPrinterCommandLine("J57 (copy 1)"), "rundll32 printui.dll,PrintUIEntry /y /n \"J57 (copy 1)\"");
}

TEST(InstallDriver, MachineWithoutAnyPrinterStillInstalls) {
    Installation t({});
    EXPECT_EQ(t.run(), InstallOutcome::Installed);
    EXPECT_EQ(t.env.spooler.defaultPrinter(), "J57");
}

TEST(InstallDriver, MessagesFollowTheChoiceAndTheSystemLanguage) {
    struct Case {
        std::uint16_t languageId;
        std::uint16_t choice;
        const char* text;
    };
    for (Case c : {Case{0x0804, 0, "打印机驱动程序安装成功!"}, Case{0x0404, 0, "打印機驅動程序安裝成功!"},
                   Case{0x0804, 1, kSuccess}}) {
        winenv::MachineSettings settings;
        settings.languageId = c.languageId;
        Installation t({{"Office", "LPT2:", "Generic"}}, settings);
        t.values.g_LanguageChoice = c.choice;
        EXPECT_EQ(t.run(), InstallOutcome::Installed);
        EXPECT_EQ(t.shown(), std::vector<std::string>{c.text});
    }
}

TEST(InstallDriver, FailingCommandWithAnExistingJ57StillCountsAsInstalled) {
    Installation t({{"Office", "LPT2:", "Generic"}, {"J57", "USB001", "J57"}});
    // The command fails by itself: the printer name is taken.
    ASSERT_EQ(t.run(), InstallOutcome::Installed);
    EXPECT_EQ(t.env.spooler.printers().size(), 2u);
    EXPECT_EQ(t.env.spooler.defaultPrinter(), "J57");
    EXPECT_EQ(t.shown(), std::vector<std::string>{kSuccess});
}

TEST(InstallDriver, FirstOfTwoModelPrintersInSpoolerOrderBecomesTheDefault) {
    Installation t({{"Office", "LPT2:", "Generic"}, {"J57 (Copy 2)", "COM1:", "J57"}, {"J57", "COM2:", "J57"}});
    t.setFault(winenv::PrinterSetupFault::Fails);
    ASSERT_EQ(t.run(), InstallOutcome::Installed);
    EXPECT_EQ(t.env.spooler.defaultPrinter(), "J57 (Copy 2)");
}

TEST(InstallDriver, PrintersThatMerelyNameTheModelDoNotCountAsInstalled) {
    for (const char* other : {"Old J57 clone", "J57 (Copy x)", "J570", "J57 (Copy 1"}) {
        SCOPED_TRACE(other);
        Installation t({{"Office", "LPT2:", "Generic"}, {other, "LPT2:", "Generic / Text Only"}});
        t.setFault(winenv::PrinterSetupFault::Fails);
        EXPECT_EQ(t.run(), InstallOutcome::NotInstalled);
        EXPECT_EQ(t.shown(), std::vector<std::string>{kFailure});
        EXPECT_EQ(t.env.spooler.defaultPrinter(), "Office");
    }
}

TEST(InstallDriver, SecondRunOverAnInstalledMachineKeepsACompleteDriver) {
    Installation t({{"Office", "LPT2:", "Generic"}});
    ASSERT_EQ(t.run(), InstallOutcome::Installed);
    ASSERT_EQ(t.run(), InstallOutcome::Installed);
    EXPECT_EQ(t.shown(), (std::vector<std::string>{kSuccess, kSuccess}));
    const std::string version = std::string(winenv::Spooler::kDriverDirectory) + "\\3\\";
    for (const char* name : {"J57.GPD", "ZIKU.UFM", "J57.INI", "J57RES.DLL", "J57D.DLL", "J57F.DLL"}) {
        EXPECT_TRUE(t.env.files.isFile(version + name)) << name;
    }
    auto drivers = t.env.spooler.drivers();
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_EQ(drivers[0].name, "J57");
    EXPECT_EQ(drivers[0].files.size(), 6u);
    EXPECT_EQ(t.env.spooler.printers().size(), 2u);
    EXPECT_EQ(t.env.spooler.defaultPrinter(), "J57");
}

TEST(InstallDriver, FailingCommandWithoutJ57ShowsTheFailure) {
    Installation t({{"Office", "LPT2:", "Generic"}});
    t.setFault(winenv::PrinterSetupFault::Fails);
    EXPECT_EQ(t.run(), InstallOutcome::NotInstalled);
    EXPECT_EQ(t.shown(), std::vector<std::string>{kFailure});
    EXPECT_EQ(t.sink.quitRequests, 1);
    EXPECT_EQ(t.env.spooler.defaultPrinter(), "Office");
    EXPECT_FALSE(t.env.files.isDirectory("C:\\TEMP"));
}

TEST(InstallDriver, CommandPastTheTimeLimitIsAbandoned) {
    Installation t({{"Office", "LPT2:", "Generic"}});
    t.setFault(winenv::PrinterSetupFault::Hangs, 5);
    EXPECT_EQ(t.run(300ms), InstallOutcome::NotInstalled);
    EXPECT_EQ(t.shown(), std::vector<std::string>{kFailure});
    EXPECT_EQ(t.sink.quitRequests, 1);
}

TEST(InstallDriver, SpoolerErrorsEndTheRunSilently) {
    {
        winenv::MachineSettings settings;
        settings.spoolerFault = winenv::SpoolerFault::Stopped;
        Installation t({{"Office", "LPT2:", "Generic"}}, settings);
        EXPECT_EQ(t.run(), InstallOutcome::SpoolerError);
        EXPECT_TRUE(t.sink.messages.empty());
        EXPECT_EQ(t.sink.quitRequests, 0);
        EXPECT_FALSE(t.env.spooler.findPrinter("J57"));
    }
    {
        winenv::MachineSettings settings;
        settings.spoolerFault = winenv::SpoolerFault::EnumCallFails;
        Installation t({{"Office", "LPT2:", "Generic"}}, settings);
        EXPECT_EQ(t.run(), InstallOutcome::SpoolerError);
        // Only the removal's error box; then the run stops before the command.
        ASSERT_EQ(t.sink.messages.size(), 1u);
        EXPECT_EQ(t.sink.messages[0].title, "ERROR");
        EXPECT_EQ(t.sink.quitRequests, 0);
        EXPECT_FALSE(t.env.spooler.findPrinter("J57"));
    }
}

TEST(InstallDriver, OtherModelNamesAreRefusedBeforeAnythingChanges) {
    Installation t({{"Office", "LPT2:", "Generic"}});
    t.values.g_ModelName = "TP80";
    EXPECT_EQ(t.run(), InstallOutcome::UnsupportedModel);
    EXPECT_EQ(t.shown(), std::vector<std::string>{kFailure});
    EXPECT_FALSE(t.env.files.isDirectory("C:\\TEMP"));
    EXPECT_FALSE(t.env.registry.keyExists(SetupApp::UninstallKey("TP80")));
    EXPECT_EQ(t.env.spooler.printers().size(), 1u);
}

// The setup program itself, unattended.
int RunSetup(const std::string& arguments, std::string& output) {
    auto run = test_support::RunProgram(test_support::ProgramPath("setup"), arguments);
    output = std::move(run.output);
    return run.exitCode;
}

TEST(SetupProgram, UnattendedRunPrintsTheOutcomeAndAnswersByExitCode) {
    winenv::MachineSettings settings;
    settings.languageId = 0x0804;
    winenv::testing::TempMachine machine(settings, {{"Office", "LPT2:", "Generic"}});
    std::string output;
    const std::string root = "--root '" + machine.folder().string() + "'";
    EXPECT_EQ(RunSetup(root + " --unattended", output), 0);
    EXPECT_EQ(output, "setup: 打印机驱动程序安装成功!\n");
    EXPECT_EQ(RunSetup(root + " --unattended --language english --model TP80", output), 1);
    EXPECT_NE(output.find("setup: The Printer Driver installation has been failed!\n"), std::string::npos);
    EXPECT_NE(output.find("\"TP80\" is not supported"), std::string::npos);
    EXPECT_EQ(RunSetup("--root /nonexistent/winroot --unattended", output), 1);
    EXPECT_NE(output.find("not a prepared machine root"), std::string::npos);
    EXPECT_EQ(RunSetup("--help", output), 0);
    EXPECT_EQ(RunSetup(root + " --unattended --language klingon", output), 2);
    EXPECT_EQ(RunSetup("--unattended --no-such-option", output), 2);
}

TEST(SetupProgram, FailuresOnTheWayAreReportedAndEndWithOne) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> damage;
        const char* said;
        bool printerAdded;
    };
    const Case cases[] = {
        {"garbage registry",
         [](const std::filesystem::path& root) { std::ofstream(root / "registry.json", std::ios::trunc) << "%%%"; },
         "registry of the machine (registry.json) cannot be read", false},
        {"registry nested too deep",
         [](const std::filesystem::path& root) {
             std::ofstream(root / "registry.json", std::ios::trunc)
                 << "{\"HKLM\":" << std::string(80000, '[') << std::string(80000, ']') << "}";
         },
         "registry of the machine (registry.json) cannot be read", false},
        // An INF that cannot be replaced (read-only) stands for a staging
        // area that cannot be written: the write is named, not the INF reader.
        {"staging write refused",
         [](const std::filesystem::path& root) {
             std::filesystem::create_directories(root / "C" / "TEMP");
             std::ofstream(root / "C" / "TEMP" / "J57.INF") << "[Version]\n";
             std::filesystem::permissions(root / "C" / "TEMP" / "J57.INF", std::filesystem::perms::owner_read);
         },
         "setup: cannot write C:\\TEMP\\J57.INF: ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        winenv::testing::TempMachine machine({}, {{"Office", "LPT2:", "Generic"}});
        c.damage(machine.folder());
        std::string output;
        EXPECT_EQ(RunSetup("--root '" + machine.folder().string() + "' --unattended --language english", output), 1);
        EXPECT_NE(output.find(c.said), std::string::npos) << output;
        winenv::MachineRoot root(machine.folder());
        EXPECT_EQ(winenv::Spooler(root).findPrinter("J57").has_value(), c.printerAdded);
    }
}

TEST(SetupProgram, InfFolderLinkedOutOfTheRootIsNotTouched) {
    winenv::testing::TempMachine machine({}, {{"Office", "LPT2:", "Generic"}});
    winenv::testing::TempMachine elsewhere;  // any folder outside the root
    const std::filesystem::path outside = elsewhere.folder() / "x";
    std::filesystem::create_directory(outside);
    std::ofstream(outside / "oem7.inf") << "Class=Printer\n[Manufacturer]\n\"J57\"=Driver_J57\n";
    std::ofstream(outside / "oem7.pnf") << "compiled";
    const std::filesystem::path inf = machine.folder() / "C" / "WINDOWS" / "inf";
    std::filesystem::remove_all(inf);
    std::filesystem::create_directory_symlink(outside, inf);
    std::string output;
    EXPECT_EQ(RunSetup("--root '" + machine.folder().string() + "' --unattended --language english", output), 0) << output;
    EXPECT_TRUE(std::filesystem::exists(outside / "oem7.inf"));
    EXPECT_TRUE(std::filesystem::exists(outside / "oem7.pnf"));
}

}  // namespace
}  // namespace kit::setup
