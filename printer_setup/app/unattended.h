#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace kit::setup {

struct UnattendedOptions {
    std::filesystem::path root;                    // the machine root
    std::filesystem::path printerSetupProgram;     // kit-printer-setup
    std::optional<std::uint16_t> languageChoice;   // 0 Chinese, 1 English; default from the system language
    std::string modelName = "J57";
    std::chrono::milliseconds commandTimeLimit{90000};
};

// Runs the installation without the wizard: finds the system code and the
// language, runs InstallDriver, prints the outcome message on `out` and
// problems on `err`. Returns 0 when the printer is installed and nothing
// failed on the way, 1 otherwise. A registry or spooler store that cannot be
// read stops the run before anything changes.
int RunUnattended(const UnattendedOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kit::setup
