// The installer's start: settings file, language files and the language
// file the dialogs use, on first and later runs and on unusual folders.
#include "printer_setup/app/setup_start.h"

#include <gtest/gtest.h>

#include "platform/test_support/file_contents.h"
#include "printer_setup/app/tests/temp_folder.h"

namespace kit::setup {
namespace {

using test_support::ReadFileBytes;
using testing::TempFolder;

struct StartRun {
    std::string languageFile;
    std::string model;
};

StartRun Start(const std::filesystem::path& appDir, std::uint16_t languageId) {
    SetupStart start(appDir, languageId);
    InstallerValues values;
    values.g_ModelName = "unset";
    start.InitInstance(values);
    return {start.g_LanguageFile(), values.g_ModelName};
}

std::string LanguageFile(const TempFolder& dir, const char* name) { return (dir / "Language" / name).string(); }

TEST(SetupStart, FirstRunOnAnEnglishSystemWritesEverythingAndUsesEnglish) {
    TempFolder dir;
    const StartRun run = Start(dir.path(), 0x0409);
    EXPECT_EQ(run.languageFile, LanguageFile(dir, "Multi_eng.dll"));
    EXPECT_EQ(run.model, "J57");
    EXPECT_EQ(ReadFileBytes(dir / "setting.dll"), "[Setting]\r\nLanguage=English\r\nPrinterName=J57");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "Language" / "Multi_eng.dll"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "Language" / "Multi_ch.dll"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Language" / "Multi_ch_BIG5.dll"));
    EXPECT_EQ(ReadFileBytes(dir / "Language" / "Multi_eng.dll").rfind("[Setting]\r\nLanguage=English\r\n", 0), 0u);
}

TEST(SetupStart, SimplifiedChineseSystemShowsEnglishOnlyOnTheFirstRun) {
    TempFolder dir;
    EXPECT_EQ(Start(dir.path(), 0x0804).languageFile, LanguageFile(dir, "Multi_eng.dll"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "Language" / "Multi_ch.dll"));
    EXPECT_EQ(Start(dir.path(), 0x0804).languageFile, LanguageFile(dir, "Multi_ch.dll"));
}

TEST(SetupStart, TraditionalChineseSystemWritesTheBig5FileOnItsFirstRun) {
    TempFolder dir;
    EXPECT_EQ(Start(dir.path(), 0x0404).languageFile, LanguageFile(dir, "Multi_eng.dll"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "Language" / "Multi_ch_BIG5.dll"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Language" / "Multi_ch.dll"));
    EXPECT_EQ(Start(dir.path(), 0x0404).languageFile, LanguageFile(dir, "Multi_ch_BIG5.dll"));
}

TEST(SetupStart, TraditionalSystemAfterASimplifiedRunNamesTheAbsentBig5File) {
    TempFolder dir;
    (void)Start(dir.path(), 0x0804);
    // "Multi_ch.dll" declares Chinese, so nothing is written.
    EXPECT_EQ(Start(dir.path(), 0x0404).languageFile, LanguageFile(dir, "Multi_ch_BIG5.dll"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Language" / "Multi_ch_BIG5.dll"));
}

TEST(SetupStart, LanguageMatchIsExactAndLooksAtDllFilesOnly) {
    TempFolder dir;
    // None of these declares exactly "English": every run writes the files again.
    dir.write("Language/lower.dll", "[Setting]\r\nLanguage=english\r\n");
    dir.write("Language/other.ini", "[Setting]\r\nLanguage=English\r\n");
    dir.write("Language/empty.dll", "[Setting]\r\nLanguage=\r\n");
    std::filesystem::create_directory(dir / "Language" / "folder.dll");
    EXPECT_EQ(Start(dir.path(), 0x0409).languageFile, LanguageFile(dir, "Multi_eng.dll"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "Language" / "Multi_eng.dll"));

    // A file of any name that declares the language is enough (upper-case extension too).
    TempFolder other;
    other.write("Language/MINE.DLL", "[Setting]\nLanguage=English\n");
    EXPECT_EQ(Start(other.path(), 0x0409).languageFile, LanguageFile(other, "Multi_eng.dll"));
    EXPECT_FALSE(std::filesystem::exists(other / "Language" / "Multi_eng.dll"));
}

TEST(SetupStart, PrinterNameRules) {
    struct Case {
        const char* name;
        std::string content;
        std::string model;
    };
    const Case cases[] = {
        {"empty value stays empty", "[Setting]\r\nPrinterName=\r\n", ""},
        {"missing key gives J57", "[Setting]\r\nLanguage=English\r\n", "J57"},
        {"other name", "[Setting]\r\nPrinterName=J80\r\n", "J80"},
        {"cut to 259", "[Setting]\r\nPrinterName=" + std::string(400, 'M') + "\r\n", std::string(259, 'M')},
        {"ends at a NUL", std::string("[Setting]\r\nPrinterName=J5\0x\r\n", 29), "J5"},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        dir.write("setting.dll", c.content);
        EXPECT_EQ(Start(dir.path(), 0x0409).model, c.model) << c.name;
        EXPECT_EQ(ReadFileBytes(dir / "setting.dll"), c.content) << c.name << ": an existing file stays";
    }
}

TEST(SetupStart, SettingFileThatIsAFolderGivesTheDefaultModel) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "setting.dll");
    EXPECT_EQ(Start(dir.path(), 0x0409).model, "J57");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "setting.dll"));
}

TEST(SetupStart, UnwritableFolderWritesNothingAndKeepsTheDefaults) {
    // A folder below a plain file can never be created, whoever runs the test.
    TempFolder dir;
    dir.write("medium", "not a folder");
    const auto appDir = dir / "medium" / "setup";
    const StartRun run = Start(appDir, 0x0804);
    EXPECT_EQ(run.model, "J57");
    EXPECT_EQ(run.languageFile, (appDir / "Language" / "Multi_eng.dll").string());
    EXPECT_EQ(ReadFileBytes(dir / "medium"), "not a folder");
}

TEST(SetupStart, WritesNeverFollowASymbolicLink) {
    TempFolder dir;
    TempFolder elsewhere;
    elsewhere.write("victim", "keep me");
    std::filesystem::create_directory(dir / "Language");
    std::filesystem::create_symlink(elsewhere / "victim", dir / "Language" / "Multi_eng.dll");
    (void)Start(dir.path(), 0x0409);
    EXPECT_EQ(ReadFileBytes(elsewhere / "victim"), "keep me");
}

}  // namespace
}  // namespace kit::setup
