#include "printer_setup/payload/payload.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kit::payload {
namespace {

// Blocks that carry the same bytes; every other number has bytes of its own.
const std::vector<std::vector<std::uint16_t>> kSharedBlocks = {
    {149, 172}, {150, 174}, {151, 175}, {152, 173, 191}, {153, 168, 186}, {155, 169, 187},
    {156, 171, 189}, {157, 184, 194}, {158, 185, 195, 252, 253, 254}, {159, 170, 188}, {161, 182},
    {162, 183, 201}, {163, 176, 196}, {164, 177, 197}, {165, 178, 198}, {166, 179, 199}, {249, 250, 251}};

std::vector<std::uint16_t> AllNumbers() {
    std::vector<std::uint16_t> numbers{146, 147, 148, 248, 249, 250, 251, 252, 253, 254, 255, 256};
    for (std::uint16_t n = 149; n <= 201; ++n) {
        if (n != 160 && n != 167 && n != 180 && n != 181) numbers.push_back(n);
    }
    return numbers;
}

TEST(Payload, EveryNumberIsThereAndOnlySharedNumbersShareBytes) {
    std::set<const char*> seen;
    for (std::uint16_t n : AllNumbers()) {
        auto block = FindResource("OWNER_DATA", n);
        ASSERT_TRUE(block) << n;
        EXPECT_FALSE(block->empty()) << n;
        seen.insert(block->data());
    }
    std::size_t copies = AllNumbers().size();
    for (const auto& group : kSharedBlocks) {
        for (std::uint16_t n : group) EXPECT_EQ(FindResource("OWNER_DATA", n)->data(), FindResource("OWNER_DATA", group[0])->data()) << n;
        copies -= group.size() - 1;
    }
    EXPECT_EQ(seen.size(), copies);  // one stored copy per distinct block, no more sharing than that
    for (std::uint16_t n : {0, 145, 160, 167, 180, 181, 202, 247, 257}) EXPECT_FALSE(FindResource("OWNER_DATA", n)) << n;
    EXPECT_TRUE(FindResource("owner_data", 148));
    EXPECT_FALSE(FindResource("RCDATA", 148));
}

TEST(Payload, TextBlocksHoldTheirExactBytes) {
    EXPECT_EQ(*FindResource(kResourceType, 148), "[Setting]\r\nLanguage=English\r\nPrinterName=J57");
    EXPECT_EQ(*FindResource(kResourceType, 159), "[OEMFiles]\r\nOEMDriverFile1=J57D.DLL\r\nOEMConfigFile1=J57F.DLL\r\n");

    std::string english(*FindResource(kResourceType, 147));
    EXPECT_TRUE(english.starts_with("[Setting]\r\nLanguage=English\r\n"));
    EXPECT_NE(english.find("IDD138_1045=Click Next to continue,or Cancel to exit Setup.\r\n"), std::string::npos);
    EXPECT_NE(english.find("IDD102_12323=&Back\r\n"), std::string::npos);

    // "中文" in code page 936 and in code page 950.
    std::string simplified(*FindResource(kResourceType, 146));
    std::string traditional(*FindResource(kResourceType, 248));
    EXPECT_NE(simplified.find("Language=Chinese\r\n"), std::string::npos);
    EXPECT_NE(simplified.find("IDD137_1037=\xD6\xD0\xCE\xC4\r\n"), std::string::npos);
    EXPECT_NE(traditional.find("Language=Chinese\r\n"), std::string::npos);
    EXPECT_NE(traditional.find("IDD137_1037=\xA4\xA4\xA4\xE5\r\n"), std::string::npos);

    std::string gpd(*FindResource(kResourceType, 155));
    for (const char* line : {"*GPDFileName: \"J57.GPD\"\r\n", "*ModelName: \"J57\"\r\n", "*ResourceDLL: \"J57RES.DLL\"\r\n"}) {
        EXPECT_NE(gpd.find(line), std::string::npos) << line;
    }
    std::string inf(*FindResource(kResourceType, 256));
    for (const char* line : {"[Manufacturer]\r\n\"J57\"=Driver_J57,NTx86\r\n", "CopyFiles=@J57RES.DLL\r\n",
                             "COMMCONFIG=\"38400,n,8,1,p\"\r\n", "DefaultDestDir=66000\r\n"}) {
        EXPECT_NE(inf.find(line), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace kit::payload
