// Dialog texts from a language file: keys, the values taken and left, the
// English font rule, code pages, and files that are broken.
#include "printer_setup/app/dialog_strings.h"

#include <gtest/gtest.h>

#include "platform/text/code_page.h"
#include "platform/ui/headless/headless_host.h"
#include "printer_setup/app/tests/temp_folder.h"

namespace kit::setup {
namespace {

using testing::TempFolder;

TEST(DialogStrings, KeysUseTheUnsigned16BitControlNumber) {
    EXPECT_EQ(DialogTitleKey(100), "IDD100_Title");
    EXPECT_EQ(DialogStringKey(138, 1042), "IDD138_1042");
    EXPECT_EQ(DialogStringKey(138, ui::kNoId), "IDD138_65535");
    EXPECT_EQ(DialogStringKey(102, 12323), "IDD102_12323");
}

ui::DialogTemplate Sample() {
    ui::DialogTemplate t;
    t.id = 138;
    t.caption = "模板";
    t.width = 200;
    t.height = 100;
    t.controls = {
        ui::Label(1042, "一", {0, 0, 100, 10}),
        ui::Label(1043, "二", {0, 10, 100, 10}),
        ui::EditBox(1019, {0, 20, 100, 10}),
        ui::Button(1, "确定", {0, 40, 50, 14}),
    };
    return t;
}

struct Applied {
    std::string caption;
    std::string t1042, t1043, t1019, t1;
    bool fontSet = false;
};

Applied Apply(const std::string& fileBytes, std::uint16_t languageId) {
    TempFolder dir;
    dir.write("lang.dll", fileBytes);
    ui::HeadlessHost host;
    ui::Dialog dialog(host, Sample());
    EXPECT_TRUE(dialog.create());
    (void)dialog.setText(1019, "box");
    g_SetDialogStrings(DialogStrings{(dir / "lang.dll").string(), languageId}, dialog, 138);
    return {dialog.caption(),        dialog.text(1042), dialog.text(1043), dialog.text(1019),
            dialog.text(1),          dialog.control(1042)->font.has_value()};
}

TEST(DialogStrings, TakesNonEmptyValuesAndNeverTouchesTheTextBox) {
    const Applied a = Apply(
        "[Setting]\r\nLanguage=English\r\n[String]\r\nIDD138_Title=Welcome\r\nIDD138_1042=Hello\r\n"
        "IDD138_1043=\r\nIDD138_1019=not for the box\r\nIDD138_1=OK\r\nIDD137_1042=other dialog\r\n",
        0x0804);
    EXPECT_EQ(a.caption, "Welcome");
    EXPECT_EQ(a.t1042, "Hello");
    EXPECT_EQ(a.t1043, "二");  // empty value keeps the template text
    EXPECT_EQ(a.t1019, "box");
    EXPECT_EQ(a.t1, "OK");
}

TEST(DialogStrings, EnglishSystemsGiveEveryControlArial13) {
    const std::string file = "[String]\r\nIDD138_1042=Hello\r\n";
    EXPECT_TRUE(Apply(file, 0x0409).fontSet);
    EXPECT_TRUE(Apply(file, 0x0809).fontSet);  // any English, by the low byte
    EXPECT_FALSE(Apply(file, 0x0804).fontSet);
    EXPECT_FALSE(Apply(file, 0x0407).fontSet);

    TempFolder dir;
    ui::HeadlessHost host;
    ui::Dialog dialog(host, Sample());
    ASSERT_TRUE(dialog.create());
    g_SetDialogStrings(DialogStrings{(dir / "missing.dll").string(), 0x0409}, dialog, 138);
    for (int id : dialog.controlIds()) {
        ASSERT_TRUE(dialog.control(id)->font) << id << ": even without a language file";
        EXPECT_EQ(dialog.control(id)->font->family, "Arial");
        EXPECT_EQ(dialog.control(id)->font->pixelHeight, 13);
        EXPECT_EQ(dialog.control(id)->font->weight, 400);
    }
}

TEST(DialogStrings, TextsAreReadInTheSystemCodePage) {
    const std::string simplified = *FromUtf8("[String]\r\nIDD138_1042=打印机\r\n", CodePage::Gbk936);
    const std::string traditional = *FromUtf8("[String]\r\nIDD138_1042=打印機\r\n", CodePage::Big5_950);
    EXPECT_EQ(Apply(simplified, 0x0804).t1042, "打印机");
    EXPECT_EQ(Apply(traditional, 0x0404).t1042, "打印機");
    // Single-byte systems read bytes above 127 as Latin-1.
    EXPECT_EQ(Apply("[String]\r\nIDD138_1042=Caf\xE9\r\n", 0x0409).t1042, "Caf\xC3\xA9");
}

TEST(DialogStrings, BrokenFilesLeaveTheTemplateTexts) {
    struct Case {
        const char* name;
        std::string bytes;
        std::uint16_t languageId;
    };
    const Case cases[] = {
        {"no [String] section", "[Setting]\r\nIDD138_1042=Hello\r\n", 0x0409},
        {"bytes that are not GBK", "[String]\r\nIDD138_1042=\xFF\xFF\x80\r\n", 0x0804},
        {"binary garbage", std::string("\0\x01\x02\xFE[Str\0ing]\r\n\x1B\x7F", 14), 0x0409},
        {"value that is only a NUL", std::string("[String]\r\nIDD138_1042=\0abc\r\n", 26), 0x0409},
    };
    for (const auto& c : cases) {
        const Applied a = Apply(c.bytes, c.languageId);
        EXPECT_EQ(a.t1042, "一") << c.name;
        EXPECT_EQ(a.caption, "模板") << c.name;
    }
}

TEST(DialogStrings, LongValuesAreCutTo999AndHugeLinesDoNoHarm) {
    const std::string tenMegabytes(10u << 20, 'x');
    const Applied a = Apply("[String]\r\nIDD138_1042=" + std::string(1500, 'a') +
                                "\r\nIDD138_1043=" + tenMegabytes + "\r\n",
                            0x0409);
    EXPECT_EQ(a.t1042, std::string(999, 'a'));
    EXPECT_EQ(a.t1043, std::string(999, 'x'));
}

}  // namespace
}  // namespace kit::setup
