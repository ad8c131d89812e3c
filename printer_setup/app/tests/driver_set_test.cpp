#include "printer_setup/app/driver_set.h"

#include <gtest/gtest.h>

#include <array>

namespace kit::setup {
namespace {

// The resource table by staged file, one column per system set.
struct SetColumn {
    std::array<std::uint16_t, 4> fixed;          // STDNAMES.GPD, M.GPD, M.INI, MD.dll
    std::array<std::uint16_t, 4> chineseSystem;  // UNIDRV.DLL, UNIDRV.HLP, UNIDRVUI.DLL, UNIRES.DLL
    std::array<std::uint16_t, 4> otherSystem;
    std::array<std::uint16_t, 2> english;        // MF.dll, MRES.DLL
    std::array<std::uint16_t, 2> chinese0804;
    std::array<std::uint16_t, 2> chineseElsewhere;
};
constexpr SetColumn kXp{{153, 155, 159, 156}, {149, 152, 150, 151}, {163, 164, 165, 166},
                        {161, 162}, {157, 158}, {249, 254}};
constexpr SetColumn k2000{{168, 169, 170, 171}, {172, 173, 174, 175}, {176, 177, 178, 179},
                          {182, 183}, {184, 185}, {250, 252}};
constexpr SetColumn kOther{{186, 187, 188, 189}, {190, 191, 192, 193}, {196, 197, 198, 199},
                           {200, 201}, {194, 195}, {251, 253}};

TEST(DriverSet, EverySystemCodeLanguageAndChoice) {
    for (int code = 0; code <= 10; ++code) {
        const SetColumn& column = code == 7 ? kXp : code == 6 ? k2000 : kOther;
        for (std::uint16_t languageId : {0x0804, 0x0404, 0x0409}) {
            for (std::uint16_t choice : {0, 1}) {
                SCOPED_TRACE(::testing::Message() << "code " << code << " langid " << std::hex << languageId
                                                  << " choice " << choice);
                DriverSet set = SelectDriverSet(code, languageId, choice);
                const bool chineseSystem = languageId != 0x0409;
                const auto& generic = chineseSystem ? column.chineseSystem : column.otherSystem;
                const auto& plugins = choice == 1 ? column.english
                                      : languageId == 0x0804 ? column.chinese0804
                                                             : column.chineseElsewhere;
                EXPECT_EQ((std::array<std::uint16_t, 4>{set.stdNames, set.gpd, set.ini, set.driverDll}), column.fixed);
                EXPECT_EQ(set.fontMetrics, 154);
                EXPECT_EQ((std::array<std::uint16_t, 4>{set.unidrv, set.unidrvHelp, set.unidrvUi, set.unires}), generic);
                EXPECT_EQ((std::array<std::uint16_t, 2>{set.configDll, set.resourceDll}), plugins);
            }
        }
    }
}

TEST(DriverSet, NamedCases) {
    DriverSet w2000 = SelectDriverSet(6, 0x0804, 1);
    EXPECT_EQ(w2000.configDll, 182);
    EXPECT_EQ(w2000.resourceDll, 183);
    DriverSet w7 = SelectDriverSet(10, 0x0404, 0);
    EXPECT_EQ(w7.configDll, 251);
    EXPECT_EQ(w7.resourceDll, 253);
    DriverSet xp = SelectDriverSet(7, 0x0409, 0);
    EXPECT_EQ(xp.configDll, 249);
    EXPECT_EQ(xp.resourceDll, 254);
    EXPECT_EQ(xp.unidrv, 163);
    EXPECT_EQ(xp.unires, 166);
    // Any identifier with 4 in its low byte is a Chinese system.
    EXPECT_EQ(SelectDriverSet(7, 0x0C04, 1).unidrv, 149);
    EXPECT_EQ(SelectDriverSet(7, 0x0C04, 0).configDll, 249);
}

}  // namespace
}  // namespace kit::setup
