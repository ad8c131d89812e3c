#include "printer_setup/app/outcome_messages.h"

#include <gtest/gtest.h>

namespace kit::setup {
namespace {

TEST(OutcomeMessages, LanguageFollowsChoiceAndSystem) {
    EXPECT_EQ(OutcomeLanguage(0, 0x0804), MessageLanguage::SimplifiedChinese);
    EXPECT_EQ(OutcomeLanguage(0, 0x0404), MessageLanguage::TraditionalChinese);
    EXPECT_EQ(OutcomeLanguage(0, 0x0409), MessageLanguage::TraditionalChinese);
    for (std::uint16_t id : {0x0804, 0x0404, 0x0409}) EXPECT_EQ(OutcomeLanguage(1, id), MessageLanguage::English);
}

TEST(OutcomeMessages, CodePageTextsAreShownAsTheirCharacters) {
    struct Case {
        bool installed;
        MessageLanguage language;
        const char* shown;
    };
    const Case cases[] = {
        {true, MessageLanguage::SimplifiedChinese, "打印机驱动程序安装成功!"},
        {false, MessageLanguage::SimplifiedChinese, "打印机驱动程序安装失败!"},
        {true, MessageLanguage::TraditionalChinese, "打印機驅動程序安裝成功!"},
        {false, MessageLanguage::TraditionalChinese, "打印機驅動程序安裝失敗!"},
        {true, MessageLanguage::English, "The Printer Driver has been installed successfully!"},
        {false, MessageLanguage::English, "The Printer Driver installation has been failed!"},
    };
    for (const auto& c : cases) EXPECT_EQ(OutcomeMessageText(c.installed, c.language), c.shown);
    // Stored as code page bytes, not as UTF-8.
    EXPECT_EQ(OutcomeMessageBytes(true, MessageLanguage::SimplifiedChinese).substr(0, 2), "\xB4\xF2");
    EXPECT_EQ(OutcomeMessageBytes(true, MessageLanguage::TraditionalChinese).substr(0, 2), "\xA5\xB4");
}

}  // namespace
}  // namespace kit::setup
