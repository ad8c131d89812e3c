// The winenv inspection tool as a program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

TEST(WinenvTool, DamagedOrMissingStoresAreErrorsNotEmptyLists) {
    const struct {
        const char* name;
        const char* spooler;  // nullptr: no root at all
    } stores[] = {{"garbage", "%%% not json"}, {"empty", ""}, {"truncated", "{\"printers\": [{\"name\": \"A\""},
                  {"a list", "[1, 2]"}, {"no root", nullptr}};
    for (const auto& store : stores) {
        SCOPED_TRACE(store.name);
        testing::TempMachine machine;
        std::filesystem::path folder = machine.folder();
        if (store.spooler == nullptr) {
            folder /= "missing";
        } else {
            std::ofstream(folder / "spooler.json", std::ios::trunc) << store.spooler;
        }
        for (const char* command : {"printers", "forms", "drivers", "default-printer"}) {
            std::string out;
            EXPECT_EQ(RunWinenv("--root '" + folder.string() + "' " + command, out), 1) << command;
            EXPECT_NE(out.find("winenv: "), std::string::npos) << command;
        }
        EXPECT_FALSE(std::filesystem::exists(machine.folder() / "missing"));
    }
}

TEST(WinenvTool, HostileRegistryAndLinksEndWithAnError) {
    testing::TempMachine machine;
    const std::string root = "--root '" + machine.folder().string() + "' ";
    std::string out;
    {
        // 80,000 levels of nesting: refused as corrupt, not a crash.
        std::ofstream registry(machine.folder() / "registry.json", std::ios::trunc);
        registry << "{\"HKLM\":" << std::string(80000, '[') << std::string(80000, ']') << "}";
    }
    EXPECT_EQ(RunWinenv(root + "registry", out), 1);
    EXPECT_NE(out.find("corrupt"), std::string::npos) << out;

    std::filesystem::create_directory_symlink("/etc", machine.folder() / "C" / "LEAK");
    EXPECT_EQ(RunWinenv(root + "files 'C:\\LEAK'", out), 1);
    EXPECT_EQ(out.find("passwd"), std::string::npos) << out;
    ASSERT_EQ(RunWinenv(root + "files 'C:\\'", out), 0);
    EXPECT_NE(out.find("LEAK  ("), std::string::npos) << out;  // listed as an entry, never entered
    EXPECT_EQ(out.find("passwd"), std::string::npos) << out;
}

}  // namespace
}  // namespace kit::winenv
