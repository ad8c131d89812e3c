#pragma once

#include <cstdint>
#include <string>

namespace kit::setup {

// The installer's program-wide values. Start-up fills them once (the wizard
// later sets the language choice); the installation only reads them.
struct InstallerValues {
    std::string g_ModelName = "J57";      // "PrinterName" setting, at most 259 characters
    int g_SystemCode = 4;                 // result of DetectSystem
    std::uint16_t g_LanguageChoice = 0;   // 0 Chinese, 1 English
};

// The model that the shipped INF declares and the printer command installs.
inline constexpr const char* kFixedModel = "J57";

}  // namespace kit::setup
