#include "printer_setup/app/staging.h"

#include <gtest/gtest.h>

#include "printer_setup/app/driver_set.h"
#include "printer_setup/payload/payload.h"
#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::setup {
namespace {

const std::string kDriverDir = winenv::Spooler::kDriverDirectory;

std::string Block(std::uint16_t number) { return std::string(*payload::FindResource(payload::kResourceType, number)); }

class StagingTest : public ::testing::Test {
public:
    StagingTest() : env(machine.folder(), "/nonexistent"), staging(env, values) {}

    winenv::testing::TempMachine machine;
    winenv::WinEnv env;
    InstallerValues values;
    Staging staging;
};

TEST_F(StagingTest, StagesTheChosenBlocksAndCopiesThemToTheDriverDirectory) {
    // Windows XP, an English system, Chinese chosen.
    staging.StageDriverFiles(7, 0x0409, 0, "J57");
    struct Expect {
        const char* path;
        std::uint16_t block;
    };
    const Expect staged[] = {
        {"C:\\TEMP\\STDNAMES.GPD", 153}, {"C:\\TEMP\\ZIKU.UFM", 154},   {"C:\\TEMP\\UNIDRV.DLL", 163},
        {"C:\\TEMP\\UNIDRV.HLP", 164},   {"C:\\TEMP\\UNIDRVUI.DLL", 165}, {"C:\\TEMP\\UNIRES.DLL", 166},
        {"C:\\TEMP\\J57D.dll", 156},     {"C:\\TEMP\\I386\\J57D.dll", 156}, {"C:\\TEMP\\x86\\J57D.dll", 156},
        {"C:\\TEMP\\J57F.dll", 249},     {"C:\\TEMP\\x86\\J57F.dll", 249}, {"C:\\TEMP\\I386\\J57RES.DLL", 254},
        {"C:\\TEMP\\J57.INF", 256},      {"C:\\TEMP\\uninstallJ57.exe", 255},
    };
    for (const auto& e : staged) EXPECT_EQ(env.files.readFile(e.path), Block(e.block)) << e.path;
    // The rewritten texts end their lines with LF alone.
    EXPECT_EQ(env.files.readFile("C:\\TEMP\\J57.INI"), "[OEMFiles]\nOEMDriverFile1=J57D.DLL\nOEMConfigFile1=J57F.DLL\n");
    EXPECT_EQ(env.files.readFile("c:\\temp\\temp.txt"), Block(159));  // the last raw text stays until clean-up

    for (const char* name : {"UNIDRV.DLL", "J57.GPD", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "STDNAMES.GPD",
                             "ZIKU.UFM", "J57.INI", "J57RES.DLL", "J57D.dll", "J57F.dll", "uninstallJ57.exe"}) {
        EXPECT_EQ(env.files.readFile(kDriverDir + "\\" + name), env.files.readFile(std::string("C:\\TEMP\\") + name))
            << name;
    }
    auto names = env.files.list("C:\\TEMP");
    ASSERT_TRUE(names);
    EXPECT_EQ(names->size(), 16u);  // 14 files, I386 and x86
}

TEST_F(StagingTest, LeftoversOfAnEarlierRunGoButGenericVersionFilesStay) {
    ASSERT_EQ(env.files.writeFile(kDriverDir + "\\3\\J57.GPD", "old"), winenv::WinStatus::Ok);
    ASSERT_EQ(env.files.writeFile(kDriverDir + "\\3\\UNIDRV.DLL", "system"), winenv::WinStatus::Ok);
    ASSERT_EQ(env.files.writeFile(kDriverDir + "\\J57.INI", "old"), winenv::WinStatus::Ok);
    staging.StageDriverFiles(10, 0x0804, 1, "J57");
    EXPECT_FALSE(env.files.isFile(kDriverDir + "\\3\\J57.GPD"));
    EXPECT_EQ(env.files.readFile(kDriverDir + "\\3\\UNIDRV.DLL"), "system");
    EXPECT_EQ(env.files.readFile(kDriverDir + "\\J57.INI"), env.files.readFile("C:\\TEMP\\J57.INI"));
    EXPECT_EQ(env.files.readFile("C:\\TEMP\\UNIDRV.DLL"), Block(190));  // Chinese system, other-system set
    EXPECT_EQ(env.files.readFile("C:\\TEMP\\J57F.dll"), Block(200));   // English in the other-system set
}

TEST_F(StagingTest, ClearStagingDeletesOnlyWhatItStaged) {
    ASSERT_EQ(env.files.createDirectory("C:\\TEMP"), winenv::WinStatus::Ok);
    ASSERT_EQ(env.files.writeFile("C:\\TEMP\\report.doc", "someone else's"), winenv::WinStatus::Ok);
    staging.StageDriverFiles(6, 0x0409, 1, "J57");
    staging.ClearStaging();
    EXPECT_FALSE(env.files.isDirectory("C:\\TEMP\\I386"));
    EXPECT_FALSE(env.files.isDirectory("C:\\TEMP\\x86"));
    auto left = env.files.list("C:\\TEMP");
    ASSERT_TRUE(left);
    ASSERT_EQ(left->size(), 1u);
    EXPECT_EQ(left->front().name, "report.doc");
    // The driver directory keeps what was copied there.
    EXPECT_TRUE(env.files.isFile(kDriverDir + "\\J57D.DLL"));

    ASSERT_EQ(env.files.deleteFile("C:\\TEMP\\report.doc"), winenv::WinStatus::Ok);
    staging.StageDriverFiles(6, 0x0409, 1, "J57");
    staging.ClearStaging();
    EXPECT_FALSE(env.files.isDirectory("C:\\TEMP"));
}

TEST_F(StagingTest, ExtractPayloadFailureCases) {
    ASSERT_EQ(env.files.createDirectory("C:\\TEMP"), winenv::WinStatus::Ok);
    EXPECT_FALSE(staging.ExtractPayload(160, "C:\\TEMP\\none.bin", false));
    EXPECT_FALSE(env.files.isFile("C:\\TEMP\\none.bin"));
    // A target in a missing folder is passed over; the block was found.
    EXPECT_TRUE(staging.ExtractPayload(148, "C:\\MISSING\\setting.dll", false));
    // With temp.txt unusable the rewritten target is created empty.
    ASSERT_EQ(env.files.createDirectory("c:\\temp\\temp.txt"), winenv::WinStatus::Ok);
    EXPECT_TRUE(staging.ExtractPayload(159, "C:\\TEMP\\J57.INI", true));
    EXPECT_EQ(env.files.readFile("C:\\TEMP\\J57.INI"), "");
}

TEST_F(StagingTest, StaleTempFileIsNeverTheSourceOfARewrittenText) {
    // temp.txt of an earlier run that cannot be replaced (read-only).
    ASSERT_EQ(env.files.createDirectory("C:\\TEMP"), winenv::WinStatus::Ok);
    ASSERT_EQ(env.files.writeFile("c:\\temp\\temp.txt", "[Stale]\nkeep=me\n"), winenv::WinStatus::Ok);
    std::filesystem::permissions(machine.folder() / "C" / "TEMP" / "temp.txt", std::filesystem::perms::owner_read);
    EXPECT_TRUE(staging.ExtractPayload(159, "C:\\TEMP\\J57.INI", true));
    EXPECT_EQ(env.files.readFile("C:\\TEMP\\J57.INI"), "");
    EXPECT_EQ(env.files.readFile("c:\\temp\\temp.txt"), "[Stale]\nkeep=me\n");
    ASSERT_EQ(staging.failures().size(), 1u);
    EXPECT_NE(staging.failures()[0].find("c:\\temp\\temp.txt"), std::string::npos);
}

}  // namespace
}  // namespace kit::setup
