#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "printer_setup/winenv/machine_setup.h"

namespace kit::winenv::testing {

// A fresh machine root in a temporary folder, removed again at the end.
class TempMachine {
public:
    explicit TempMachine(const MachineSettings& settings = {},
                         const std::vector<PrinterRecord>& printers = {}) {
        std::string pattern = (std::filesystem::temp_directory_path() / "winroot.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        m_folder = pattern;
        if (!Succeeded(InitMachine(MachineRoot(m_folder), settings, printers))) std::abort();
    }
    ~TempMachine() {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
    TempMachine(const TempMachine&) = delete;
    TempMachine& operator=(const TempMachine&) = delete;

    [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

}  // namespace kit::winenv::testing
