#include "printer_setup/winenv/inf_file.h"

#include <gtest/gtest.h>

namespace kit::winenv {
namespace {

TEST(InfFile, SectionsValuesCommentsAndStrings) {
    InfFile inf = InfFile::Parse(
        "; heading comment\r\n"
        "[Version]\r\n"
        "Signature=\"$Windows NT$\" ; trailing comment\r\n"
        "[manufacturer]\r\n"
        "\"J57\"=Driver_J57,NTx86\r\n"
        "[Files]\r\n"
        "A.DLL\r\n"
        "[Strings]\r\n"
        "CFG=\"38400,n,8,1,p\"\r\n"
        "SEMI=\"a;b\"\r\n"
        "[FILES]\r\n"
        "B.DLL\r\n");
    EXPECT_EQ(inf.value("Version", "signature"), "$Windows NT$");
    auto makers = inf.section("Manufacturer");
    ASSERT_EQ(makers.size(), 1u);
    EXPECT_EQ(makers[0].key, "J57");
    EXPECT_EQ(SplitInfFields(makers[0].value), (std::vector<std::string>{"Driver_J57", "NTx86"}));
    // A section written twice is one section with the lines in file order.
    auto files = inf.section("files");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_FALSE(files[0].hasKey);
    EXPECT_EQ(files[1].value, "B.DLL");
    EXPECT_EQ(inf.value("Strings", "SEMI"), "a;b");  // no comment inside quotes
    EXPECT_EQ(inf.expandStrings("%CFG%"), "38400,n,8,1,p");
    EXPECT_EQ(inf.expandStrings("%UNKNOWN%"), "%UNKNOWN%");
    EXPECT_EQ(SplitInfFields("HKLM,\"a,b\",,0"), (std::vector<std::string>{"HKLM", "a,b", "", "0"}));
    EXPECT_TRUE(inf.section("Missing").empty());
}

TEST(InfFile, OddTextDoesNotBreakTheReader) {
    for (const char* text : {"", "\"", "[", "[]", "[x", "=", "x=\"", "\r\r\n\t\n", "[a]\n\"\"=\"\"\n;\n"}) {
        InfFile inf = InfFile::Parse(text);
        (void)inf.section("a");
        (void)inf.expandStrings("%%");
    }
}

}  // namespace
}  // namespace kit::winenv
