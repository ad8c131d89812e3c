#include <gtest/gtest.h>

#include "platform/text/code_page.h"

TEST(CodePage, RoundTripsChineseTextThroughBothPages) {
    const std::string simplified = "无线连接设备已取消，请重新搜索！";
    auto gbk = kit::FromUtf8(simplified, kit::CodePage::Gbk936);
    ASSERT_TRUE(gbk.has_value());
    EXPECT_EQ(gbk->size(), 32u);  // sixteen double-byte characters
    EXPECT_EQ(static_cast<unsigned char>((*gbk)[0]), 0xCEu);  // 无 is CE DE in code page 936
    EXPECT_EQ(kit::ToUtf8(*gbk, kit::CodePage::Gbk936), simplified);

    const std::string traditional = "安裝完成！";
    auto big5 = kit::FromUtf8(traditional, kit::CodePage::Big5_950);
    ASSERT_TRUE(big5.has_value());
    EXPECT_EQ(big5->size(), 10u);
    EXPECT_EQ(kit::ToUtf8(*big5, kit::CodePage::Big5_950), traditional);
}

TEST(CodePage, RefusesBytesThatDoNotConvert) {
    EXPECT_FALSE(kit::ToUtf8("\xCE", kit::CodePage::Gbk936).has_value());      // cut in half
    EXPECT_FALSE(kit::FromUtf8("\xFF\xFE", kit::CodePage::Gbk936).has_value());  // not UTF-8
    EXPECT_EQ(kit::ToUtf8("plain ASCII", kit::CodePage::Big5_950), "plain ASCII");
}
