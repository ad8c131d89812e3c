#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/win_status.h"

namespace kit::winenv {

// The file services of the machine, addressed by Windows paths below the root.
// A path that cannot be mapped into the root fails with InvalidName and
// touches nothing.
class WinFiles {
public:
    explicit WinFiles(const MachineRoot& root) : m_root(root) {}

    // Creates one directory; the parent must exist. An existing directory
    // answers AlreadyExists.
    [[nodiscard]] WinStatus createDirectory(std::string_view path) const;
    // Removes a directory only when it is empty.
    [[nodiscard]] WinStatus removeDirectory(std::string_view path) const;
    // Deletes one file (never a directory; no wildcard expansion).
    [[nodiscard]] WinStatus deleteFile(std::string_view path) const;
    // Copies a file; with failIfExists an existing target answers AlreadyExists.
    [[nodiscard]] WinStatus copyFile(std::string_view source, std::string_view target,
                                     bool failIfExists) const;
    // Creates or truncates the file and writes every byte.
    [[nodiscard]] WinStatus writeFile(std::string_view path, std::string_view bytes) const;
    [[nodiscard]] std::optional<std::string> readFile(std::string_view path) const;

    [[nodiscard]] bool isFile(std::string_view path) const;
    [[nodiscard]] bool isDirectory(std::string_view path) const;

    struct Entry {
        std::string name;
        bool directory = false;
        std::uintmax_t size = 0;
    };
    // Entries of a directory in name order; nothing when it does not exist.
    [[nodiscard]] std::optional<std::vector<Entry>> list(std::string_view directory) const;

    [[nodiscard]] const MachineRoot& root() const { return m_root; }

private:
    const MachineRoot& m_root;
};

}  // namespace kit::winenv
