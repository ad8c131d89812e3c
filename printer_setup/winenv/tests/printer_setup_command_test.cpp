// The printer setup command as a real process, started through ProcessRunner.
#include <gtest/gtest.h>

#include <functional>

#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "printer_setup/winenv/machine_settings.h"
#include "printer_setup/winenv/tests/temp_machine.h"
#include "printer_setup/winenv/win_env.h"

namespace kit::winenv {
namespace {

using namespace std::chrono_literals;

constexpr const char* kInf = R"(; a small printer INF
[Version]
Signature="$Windows NT$"
Class=Printer
[Manufacturer]
"Acme"=Models,NTx86
[Models.NTx86]
"P1" = Install
[Install]
CopyFiles=@P1.GPD
CopyFiles=Plugins
Addreg = regs
[regs]
HKLM,"SOFTWARE\Microsoft\Windows NT\CurrentVersion\Ports","COM1:",0x00000000,%CFG%
[Plugins]
P1D.DLL
[SourceDisksFiles]
P1.GPD=100
[SourceDisksFiles.x86]
P1D.DLL = 100,x86
[DestinationDirs]
DefaultDestDir=66000
[Strings]
CFG="9600,n,8,1"
)";

const std::string kVersionDir = std::string(Spooler::kDriverDirectory) + "\\3";

class PrinterSetupProcess : public ::testing::Test {
public:
    PrinterSetupProcess()
        : machine(MachineSettings{}, {{"Office", "LPT2:", "Generic"}}),
          env(machine.folder(), test_support::ProgramPath("kit-printer-setup")) {
        EXPECT_EQ(env.files.createDirectory("C:\\STAGE"), WinStatus::Ok);
        EXPECT_EQ(env.files.createDirectory("C:\\STAGE\\x86"), WinStatus::Ok);
        stage("C:\\STAGE\\P1.INF", kInf);
        stage("C:\\STAGE\\P1.GPD", "gpd");
        stage("C:\\STAGE\\x86\\P1D.DLL", "plug-in");
    }

    void stage(const char* path, std::string_view bytes) { EXPECT_EQ(env.files.writeFile(path, bytes), WinStatus::Ok); }

    int run(const std::string& commandLine, std::chrono::milliseconds limit = 60s) {
        auto child = env.processes.createProcess(commandLine, "C:\\STAGE");
        if (!child) return -1;
        if (child->wait(limit) != ChildProcess::WaitOutcome::Ended) return -2;
        return child->exitCode();
    }

    void expectNothingInstalled() {
        EXPECT_EQ(env.spooler.printers().size(), 1u);
        EXPECT_TRUE(env.files.list(kVersionDir)->empty());
        EXPECT_FALSE(env.registry.keyExists("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports"));
    }

    testing::TempMachine machine;
    WinEnv env;
};

TEST_F(PrinterSetupProcess, InstallsFromTheInfAndMakesTheDefault) {
    ASSERT_EQ(run("rundll32 printui.dll,PrintUIEntry /if /f C:\\STAGE\\P1.INF /r \"LPT1:\" /b \"P1\" /m \"P1\" "), 0);
    auto printer = env.spooler.findPrinter("P1");
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->port, "LPT1:");
    EXPECT_EQ(printer->driver, "P1");
    EXPECT_EQ(env.files.readFile(kVersionDir + "\\P1.GPD"), "gpd");
    EXPECT_EQ(env.files.readFile(kVersionDir + "\\p1d.dll"), "plug-in");
    EXPECT_EQ(env.registry.stringValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM1:"),
              "9600,n,8,1");
    EXPECT_EQ(env.spooler.defaultPrinter(), "Office");

    // A relative INF path is taken from the current directory.
    ASSERT_EQ(env.spooler.addPrinter({"Spare", "LPT3:", "Generic"}), WinStatus::Ok);
    EXPECT_EQ(run("RUNDLL32.EXE printui.dll,PrintUIEntry /y /n \"P1\""), 0);
    EXPECT_EQ(env.spooler.defaultPrinter(), "P1");
    EXPECT_NE(run("rundll32 printui.dll,PrintUIEntry /y /n \"Nobody\""), 0);
    EXPECT_EQ(env.spooler.defaultPrinter(), "P1");
}

TEST_F(PrinterSetupProcess, FailuresExitNonZeroAndChangeNothing) {
    struct Case {
        const char* what;
        std::string commandLine;
        std::function<void(PrinterSetupProcess&)> prepare;
    };
    const std::string install = "rundll32 printui.dll,PrintUIEntry /if /r LPT1: /b P1 ";
    const Case cases[] = {
        {"model not declared", install + "/f C:\\STAGE\\P1.INF /m P2", nullptr},
        {"INF missing", install + "/f C:\\STAGE\\NONE.INF /m P1", nullptr},
        {"INF path escapes", install + "/f C:\\STAGE\\..\\..\\P1.INF /m P1", nullptr},
        {"relative INF escapes", install + "/f ..\\..\\P1.INF /m P1", nullptr},
        {"file not staged", install + "/f C:\\STAGE\\P1.INF /m P1",
         [](PrinterSetupProcess& t) { (void)t.env.files.deleteFile("C:\\STAGE\\x86\\P1D.DLL"); }},
        {"source folder escapes", install + "/f C:\\STAGE\\P1.INF /m P1",
         [](PrinterSetupProcess& t) {
             std::string inf = kInf;
             inf.replace(inf.find("100,x86"), 7, "100,..\\..\\WINDOWS");
             t.stage("C:\\STAGE\\P1.INF", inf);
         }},
        {"file name escapes", install + "/f C:\\STAGE\\P1.INF /m P1",
         [](PrinterSetupProcess& t) {
             std::string inf = kInf;
             inf.replace(inf.find("@P1.GPD"), 7, "@..\\P1.GPD");
             t.stage("C:\\STAGE\\P1.INF", inf);
         }},
        {"tab in the name", "rundll32 printui.dll,PrintUIEntry /if /r LPT1: /b \"P\t1\" /f C:\\STAGE\\P1.INF /m P1",
         nullptr},
        {"line end in the name",
         "rundll32 printui.dll,PrintUIEntry /if /r LPT1: /b \"P1\nForged\tport X\" /f C:\\STAGE\\P1.INF /m P1", nullptr},
        {"name too long",
         "rundll32 printui.dll,PrintUIEntry /if /r LPT1: /b " + std::string(100000, 'P') + " /f C:\\STAGE\\P1.INF /m P1",
         nullptr},
        {"name one past the limit",
         "rundll32 printui.dll,PrintUIEntry /if /r LPT1: /b " + std::string(Spooler::kMaxPrinterName + 1, 'P') +
             " /f C:\\STAGE\\P1.INF /m P1",
         nullptr},
        {"no model given", "rundll32 printui.dll,PrintUIEntry /if /r LPT1: /b P1 /f C:\\STAGE\\P1.INF", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.prepare) c.prepare(*this);
        int code = run(c.commandLine);
        EXPECT_GT(code, 0);
        expectNothingInstalled();
        stage("C:\\STAGE\\P1.INF", kInf);
        stage("C:\\STAGE\\x86\\P1D.DLL", "plug-in");
    }
}

TEST_F(PrinterSetupProcess, ExistingPrinterNameStillGetsACompleteDriver) {
    // What a second installation over an installed machine meets: the name is
    // taken and the driver's files are gone from the version folder.
    ASSERT_EQ(run("rundll32 printui.dll,PrintUIEntry /if /f C:\\STAGE\\P1.INF /r LPT1: /b P1 /m P1"), 0);
    for (const char* name : {"\\P1.GPD", "\\P1D.DLL"}) ASSERT_EQ(env.files.deleteFile(kVersionDir + name), WinStatus::Ok);

    EXPECT_EQ(run("rundll32 printui.dll,PrintUIEntry /if /f C:\\STAGE\\P1.INF /r LPT3: /b p1 /m P1"), 0);
    EXPECT_EQ(env.files.readFile(kVersionDir + "\\P1.GPD"), "gpd");
    EXPECT_EQ(env.files.readFile(kVersionDir + "\\P1D.DLL"), "plug-in");
    ASSERT_EQ(env.spooler.drivers().size(), 1u);
    EXPECT_EQ(env.spooler.drivers()[0].files, (std::vector<std::string>{"P1.GPD", "P1D.DLL"}));
    ASSERT_EQ(env.spooler.printers().size(), 2u);
    EXPECT_EQ(env.spooler.findPrinter("P1")->port, "LPT1:");  // the printer is left as it was
}

TEST(PrinterSetupCommandRoot, FolderThatIsNoMachineIsLeftAlone) {
    testing::TempMachine machine;
    const std::filesystem::path empty = machine.folder() / "empty";
    std::filesystem::create_directory(empty);
    for (const std::filesystem::path& root : {empty, machine.folder() / "missing"}) {
        auto run = test_support::RunProgram(test_support::ProgramPath("kit-printer-setup"),
                                            "--root '" + root.string() + "' -- /y /n J57");
        EXPECT_EQ(run.exitCode, 1) << root;
        EXPECT_NE(run.output.find("not a prepared machine"), std::string::npos) << run.output;
        // Words it cannot use are a usage error, refused before the root is looked at.
        auto usage = test_support::RunProgram(test_support::ProgramPath("kit-printer-setup"),
                                              "--root '" + root.string() + "' -- /y /n");
        EXPECT_EQ(usage.exitCode, 2) << root;
        EXPECT_NE(usage.output.find("/n needs a printer name"), std::string::npos) << usage.output;
    }
    EXPECT_TRUE(std::filesystem::is_empty(empty));
    EXPECT_FALSE(std::filesystem::exists(machine.folder() / "missing"));
}

TEST_F(PrinterSetupProcess, UnknownCommandsCannotBeStarted) {
    EXPECT_FALSE(env.processes.createProcess("notepad.exe C:\\x.txt", "C:\\STAGE"));
    EXPECT_FALSE(env.processes.createProcess("rundll32 shell32.dll,Control_RunDLL", "C:\\STAGE"));
    ProcessRunner missing(env.root, "/nonexistent/kit-printer-setup");
    EXPECT_FALSE(missing.createProcess("rundll32 printui.dll,PrintUIEntry /y /n x", "C:\\STAGE"));
}

TEST_F(PrinterSetupProcess, HangingCommandOutlivesTheWaitLimit) {
    MachineSettings settings = MachineSettings::Load(env.root);
    settings.printerSetupFault = PrinterSetupFault::Hangs;
    settings.hangSeconds = 5;  // far beyond the 200 ms wait, even on a loaded machine
    ASSERT_TRUE(settings.save(env.root));
    auto child = env.processes.createProcess(
        "rundll32 printui.dll,PrintUIEntry /if /f C:\\STAGE\\P1.INF /r LPT1: /b P1 /m P1", "C:\\STAGE");
    ASSERT_TRUE(child);
    EXPECT_EQ(child->wait(200ms), ChildProcess::WaitOutcome::TimedOut);
    EXPECT_EQ(child->wait(60s), ChildProcess::WaitOutcome::Ended);  // it gives up by itself
    EXPECT_NE(child->exitCode(), 0);
    expectNothingInstalled();
}

}  // namespace
}  // namespace kit::winenv
