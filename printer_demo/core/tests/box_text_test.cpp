#include "printer_demo/core/box_text.h"

#include <gtest/gtest.h>

namespace j57 {
namespace {

TEST(BoxText, FilesAreReadAsUtf8OrCodePage936) {
  EXPECT_EQ(FileBytesToBoxText("plain\r\n"), "plain\r\n");
  EXPECT_EQ(FileBytesToBoxText("\xE7\xA5\xA8"), "\xE7\xA5\xA8");  // UTF-8 stays
  EXPECT_EQ(FileBytesToBoxText("\xC6\xB1\xBE\xDD"), "\xE7\xA5\xA8\xE6\x8D\xAE");  // 936 becomes UTF-8
  EXPECT_EQ(FileBytesToBoxText("\xFF\xFF"), std::nullopt);
}

TEST(BoxText, TextGoesOutInCodePage936WithCrLf) {
  EXPECT_EQ(BoxTextToPrinterBytes("a\nb\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(BoxTextToPrinterBytes("\xE7\xA5\xA8"), "\xC6\xB1");
  EXPECT_EQ(BoxTextToPrinterBytes("\xF0\x9F\x98\x80"), std::nullopt);  // no such character in 936
}

TEST(BoxText, Utf8Validation) {
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE7\xA5"})
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80 ok"));
}

}  // namespace
}  // namespace j57
