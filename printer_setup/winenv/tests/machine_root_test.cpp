#include "printer_setup/winenv/machine_root.h"

#include <gtest/gtest.h>

#include "printer_setup/winenv/tests/temp_machine.h"
#include "printer_setup/winenv/win_files.h"

namespace kit::winenv {
namespace {

using testing::TempMachine;

TEST(MachineRoot, ResolvesDrivePathsWithoutRegardToCaseAndKeepsNewNamesAsGiven) {
    TempMachine machine;
    MachineRoot root(machine.folder());
    WinFiles files(root);
    ASSERT_EQ(files.createDirectory("C:\\TEMP"), WinStatus::Ok);
    ASSERT_EQ(files.createDirectory("c:\\temp\\x86"), WinStatus::Ok);
    ASSERT_EQ(files.writeFile("C:\\TEMP\\x86\\J57D.dll", "d"), WinStatus::Ok);

    EXPECT_EQ(root.resolve("c:/Temp/X86/j57d.DLL"), machine.folder() / "C" / "TEMP" / "x86" / "J57D.dll");
    EXPECT_EQ(files.readFile("C:\\temp\\X86\\j57d.dll"), "d");
    EXPECT_EQ(files.createDirectory("C:\\Temp"), WinStatus::AlreadyExists);
    // The existing folder is found, the new file keeps its own spelling.
    EXPECT_EQ(root.resolve("c:\\temp\\New.TXT"), machine.folder() / "C" / "TEMP" / "New.TXT");
    EXPECT_EQ(root.resolve("temp.txt", "c:\\temp"), machine.folder() / "C" / "TEMP" / "temp.txt");
}

TEST(MachineRoot, RefusesPathsThatCouldLeaveTheRoot) {
    TempMachine machine;
    MachineRoot root(machine.folder());
    for (const char* path : {"C:\\TEMP\\..\\..\\etc\\passwd", "..\\x", "/etc/passwd", "\\\\server\\share\\x",
                             "\\TEMP\\x", "C:TEMP", "C:\\TEMP\\...\\x", "C:\\a:b", "relative.txt",
                             "C:\\TEMP\\*.*", "C:\\TEMP\\a?b", "C:\\TEMP\\a\nb"}) {
        EXPECT_FALSE(root.resolve(path)) << path;
    }
    EXPECT_FALSE(root.resolve("..\\x", "C:\\TEMP"));
    WinFiles files(root);
    EXPECT_EQ(files.writeFile("C:\\..\\escape.txt", "x"), WinStatus::InvalidName);
    EXPECT_FALSE(std::filesystem::exists(machine.folder() / "escape.txt"));
}

TEST(WinFiles, CopyDeleteAndDirectoryRulesFollowWindows) {
    TempMachine machine;
    MachineRoot root(machine.folder());
    WinFiles files(root);
    ASSERT_EQ(files.createDirectory("C:\\TEMP"), WinStatus::Ok);
    EXPECT_EQ(files.createDirectory("C:\\NOPE\\deeper"), WinStatus::PathNotFound);
    ASSERT_EQ(files.writeFile("C:\\TEMP\\a.txt", "new"), WinStatus::Ok);
    ASSERT_EQ(files.writeFile("C:\\TEMP\\b.txt", "old"), WinStatus::Ok);

    EXPECT_EQ(files.copyFile("C:\\TEMP\\a.txt", "C:\\TEMP\\B.TXT", true), WinStatus::AlreadyExists);
    EXPECT_EQ(files.readFile("C:\\TEMP\\b.txt"), "old");
    EXPECT_EQ(files.copyFile("C:\\TEMP\\a.txt", "C:\\TEMP\\B.TXT", false), WinStatus::Ok);
    EXPECT_EQ(files.readFile("C:\\TEMP\\b.txt"), "new");
    EXPECT_EQ(files.copyFile("C:\\TEMP\\missing", "C:\\TEMP\\c.txt", false), WinStatus::FileNotFound);

    EXPECT_EQ(files.removeDirectory("C:\\TEMP"), WinStatus::DirectoryNotEmpty);
    EXPECT_EQ(files.deleteFile("C:\\TEMP"), WinStatus::AccessDenied);
    EXPECT_EQ(files.deleteFile("C:\\TEMP\\*.*"), WinStatus::InvalidName);  // a pattern is no name: nothing expands
    EXPECT_EQ(files.deleteFile("C:\\TEMP\\A.TXT"), WinStatus::Ok);
    EXPECT_EQ(files.deleteFile("C:\\TEMP\\b.txt"), WinStatus::Ok);
    EXPECT_EQ(files.removeDirectory("C:\\temp"), WinStatus::Ok);
    EXPECT_FALSE(files.isDirectory("C:\\TEMP"));
}

TEST(MachineSettings, LanguageFollowsTheLocale) {
    struct Case {
        const char* locale;
        std::uint16_t id;
    };
    for (Case c : {Case{"zh_CN.UTF-8", 0x0804}, Case{"zh_TW.UTF-8", 0x0404}, Case{"zh_HK", 0x0404},
                   Case{"en_US.UTF-8", 0x0409}, Case{"C", 0x0409}, Case{"", 0x0409}, Case{"zh", 0x0409}}) {
        EXPECT_EQ(LanguageIdFromLocale(c.locale), c.id) << c.locale;
    }
}

}  // namespace
}  // namespace kit::winenv
