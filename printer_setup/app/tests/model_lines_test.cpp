#include "printer_setup/app/model_lines.h"

#include <gtest/gtest.h>

#include "printer_setup/payload/payload.h"

namespace kit::setup {
namespace {

std::string Rewrite(std::string_view source, std::string_view model) {
    auto table = BuildModelLineTable(model);
    return RewriteModelLines(source, table.data(), table.size());
}

std::string WithoutCr(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '\r') out.push_back(c);
    }
    return out;
}

TEST(ModelLines, ShippedTextsForJ57OnlyLoseTheirCarriageReturns) {
    auto ini = *payload::FindResource(payload::kResourceType, 159);
    EXPECT_EQ(Rewrite(ini, "J57"), "[OEMFiles]\nOEMDriverFile1=J57D.DLL\nOEMConfigFile1=J57F.DLL\n");
    auto gpd = *payload::FindResource(payload::kResourceType, 155);
    EXPECT_EQ(Rewrite(gpd, "J57"), WithoutCr(gpd));
}

TEST(ModelLines, AnotherModelRewritesTheFiveLinesOnly) {
    EXPECT_EQ(Rewrite(*payload::FindResource(payload::kResourceType, 159), "TP80"),
              "[OEMFiles]\nOEMDriverFile1=TP80D.DLL\nOEMConfigFile1=TP80F.DLL\n");
    std::string gpd = Rewrite(*payload::FindResource(payload::kResourceType, 155), "TP80");
    EXPECT_NE(gpd.find("\n*GPDFileName: \"TP80.GPD\"\n*ModelName: \"TP80\"\n"), std::string::npos);
    EXPECT_NE(gpd.find("\n*ResourceDLL: \"TP80RES.DLL\"\n"), std::string::npos);
    EXPECT_EQ(gpd.find("\"J57"), std::string::npos);
    EXPECT_NE(gpd.find("\n*MasterUnits: PAIR(203, 203)\n"), std::string::npos);
}

TEST(ModelLines, LineRules) {
    struct Case {
        const char* what;
        std::string source;
        std::string expected;
    };
    const std::string long300(300, 'x');
    const Case cases[] = {
        {"a comment that mentions a search text is replaced whole",
         "*% see *ModelName: below\r\n", "*ModelName: \"M2\"\n"},
        {"the earlier pair of the table wins", "*ResourceDLL: OEMDriverFile1=x\n", "OEMDriverFile1=M2D.DLL\n"},
        {"search texts are case-sensitive", "oemdriverfile1=abc\n", "oemdriverfile1=abc\n"},
        {"a last line without a line end gets one", "a\r\nb", "a\nb\n"},
        {"a lone carriage return stays", "a\rb\n", "a\rb\n"},
        {"a 300-character line comes out as two", long300 + "\r\n",
         std::string(259, 'x') + "\n" + std::string(41, 'x') + "\n"},
        {"empty lines stay", "\r\n\r\n", "\n\n"},
        {"an empty source gives an empty target", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Rewrite(c.source, "M2"), c.expected) << c.what;
}

TEST(ModelLines, ReplacementsAreCutToTheirField) {
    auto table = BuildModelLineTable(std::string(300, 'M'));
    for (const auto& pair : table) EXPECT_EQ(pair.replacement.size(), kLinePieceLimit) << pair.search;
}

}  // namespace
}  // namespace kit::setup
