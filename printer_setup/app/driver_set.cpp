#include "printer_setup/app/driver_set.h"

namespace kit::setup {

namespace {

// One row per system set; the columns that depend on the language come in
// pairs or triples.
struct SetRow {
    std::uint16_t stdNames, gpd, ini, driverDll;
    std::uint16_t unidrv[2], unidrvHelp[2], unidrvUi[2], unires[2];  // [Chinese system, other]
    std::uint16_t configDll[3], resourceDll[3];  // [English, Chinese on 0x0804, Chinese elsewhere]
};

constexpr SetRow kWindowsXp{153, 155, 159, 156, {149, 163}, {152, 164}, {150, 165}, {151, 166},
                            {161, 157, 249}, {162, 158, 254}};
constexpr SetRow kWindows2000{168, 169, 170, 171, {172, 176}, {173, 177}, {174, 178}, {175, 179},
                              {182, 184, 250}, {183, 185, 252}};
constexpr SetRow kOther{186, 187, 188, 189, {190, 196}, {191, 197}, {192, 198}, {193, 199},
                        {200, 194, 251}, {201, 195, 253}};

constexpr std::uint16_t kFontMetrics = 154;

}  // namespace

SystemSet SystemSetFor(int systemCode) {
    if (systemCode == 7) return SystemSet::WindowsXp;
    if (systemCode == 6) return SystemSet::Windows2000;
    return SystemSet::Other;
}

DriverSet SelectDriverSet(int systemCode, std::uint16_t languageId, std::uint16_t languageChoice) {
    const SetRow& row = SystemSetFor(systemCode) == SystemSet::WindowsXp     ? kWindowsXp
                        : SystemSetFor(systemCode) == SystemSet::Windows2000 ? kWindows2000
                                                                             : kOther;
    const int generic = IsChineseSystem(languageId) ? 0 : 1;
    const int plugin = languageChoice == 1 ? 0 : (languageChoice == 0 && languageId == 0x0804 ? 1 : 2);
    return DriverSet{row.stdNames,          row.gpd,
                     row.ini,               row.driverDll,
                     kFontMetrics,          row.unidrv[generic],
                     row.unidrvHelp[generic], row.unidrvUi[generic],
                     row.unires[generic],   row.configDll[plugin],
                     row.resourceDll[plugin]};
}

}  // namespace kit::setup
