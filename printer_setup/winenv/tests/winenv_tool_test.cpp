// The winenv inspection tool as a program.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "printer_setup/winenv/system_info.h"
#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::winenv {
namespace {

int RunWinenv(const std::string& arguments, std::string& output) {
    auto run = test_support::RunProgram(test_support::ProgramPath("winenv"), arguments);
    output = std::move(run.output);
    return run.exitCode;
}

TEST(WinenvTool, InitThenInspect) {
    testing::TempMachine machine;
    const std::string root = "--root '" + machine.folder().string() + "' ";
    std::string out;
    ASSERT_EQ(RunWinenv(root + "init --version 5.1 --build 2600 --langid 0x0404 --printer A --printer B=COM1:", out), 0) << out;
    MachineRoot machineRoot(machine.folder());
    SystemInfo system(machineRoot);
    EXPECT_EQ(system.getVersion(), 5u | (1u << 8) | (2600u << 16));
    EXPECT_EQ(system.getSystemDefaultLangId(), 0x0404);

    ASSERT_EQ(RunWinenv(root + "printers", out), 0);
    EXPECT_EQ(out, "A\tport LPT1:\tdriver Generic / Text Only\nB\tport COM1:\tdriver Generic / Text Only\n");
    ASSERT_EQ(RunWinenv(root + "default-printer", out), 0);
    EXPECT_EQ(out, "A\n");
    ASSERT_EQ(RunWinenv(root + "files 'C:\\WINDOWS'", out), 0);
    EXPECT_NE(out.find("inf\\\n"), std::string::npos);
    EXPECT_NE(out.find("      w32x86\\\n        3\\\n"), std::string::npos);
    EXPECT_EQ(RunWinenv(root + "registry 'SOFTWARE\\Nobody'", out), 1);
    EXPECT_NE(out.find("no registry key"), std::string::npos);
    EXPECT_EQ(RunWinenv(root + "files 'C:\\..\\..'", out), 1);
}

TEST(WinenvTool, BadArgumentsAreRefusedClearly) {
    testing::TempMachine machine;
    const std::string root = "--root '" + machine.folder().string() + "' ";
    std::string out;
    for (const char* args : {"init --langid 0x10000", "init --langid zh", "init --version 6", "init --platform os2",
                             "init --spooler-fault sometimes", "frobnicate", ""}) {
        EXPECT_EQ(RunWinenv(root + args, out), 2) << args;
        EXPECT_FALSE(out.empty()) << args;
    }
    EXPECT_EQ(RunWinenv("--help", out), 0);
}

}  // namespace
}  // namespace kit::winenv
