#pragma once

#include <cstdint>

namespace kit::setup {

// Which payload block goes to which staged file, for one machine and one
// language choice.
struct DriverSet {
    std::uint16_t stdNames;    // "STDNAMES.GPD"
    std::uint16_t gpd;         // M + ".GPD", rewritten
    std::uint16_t ini;         // M + ".INI", rewritten
    std::uint16_t driverDll;   // M + "D.dll"
    std::uint16_t fontMetrics; // "ZIKU.UFM"
    std::uint16_t unidrv;      // "UNIDRV.DLL"
    std::uint16_t unidrvHelp;  // "UNIDRV.HLP"
    std::uint16_t unidrvUi;    // "UNIDRVUI.DLL"
    std::uint16_t unires;      // "UNIRES.DLL"
    std::uint16_t configDll;   // M + "F.dll"
    std::uint16_t resourceDll; // M + "RES.DLL"
};

enum class SystemSet { WindowsXp, Windows2000, Other };

// 7 gives the Windows XP set, 6 the Windows 2000 set, every other code the
// other-system set.
[[nodiscard]] SystemSet SystemSetFor(int systemCode);

// The blocks for system code, system default language identifier L and
// language choice (0 Chinese, 1 English): the generic files follow whether L
// is a Chinese system (low byte 4), the "F" and "RES" plug-ins follow the
// choice (English; Chinese on 0x0804; Chinese elsewhere).
[[nodiscard]] DriverSet SelectDriverSet(int systemCode, std::uint16_t languageId,
                                        std::uint16_t languageChoice);

[[nodiscard]] inline bool IsChineseSystem(std::uint16_t languageId) { return (languageId & 0xFF) == 4; }

}  // namespace kit::setup
