#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kit::winenv {

// The folder that stands for the whole Windows machine. Drive paths such as
// "C:\TEMP\x86\J57D.dll" live below it ("<root>/C/TEMP/x86/J57D.dll"); the
// registry, the spooler and the machine settings keep their files in it too.
//
// Nothing below the root is reached through a symbolic link: the case lookup
// does not look through one, and WinFiles and the stores refuse them.
//
// Lookups ignore case the way Windows does: every component of a drive path is
// matched against what already exists without regard to ASCII case, and parts
// that do not exist yet keep the case in which the caller wrote them.
class MachineRoot {
public:
    explicit MachineRoot(std::filesystem::path folder);

    // ~/.local/share/kit/winroot, or ./winroot when HOME is not set.
    [[nodiscard]] static std::filesystem::path DefaultFolder();

    [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }

    // Maps a Windows path to the host path below the root. A relative path is
    // taken relative to `currentDirectory` (itself a drive path). Returns
    // nothing for paths that could leave the root: ".." components, UNC or
    // device paths, host-absolute paths, characters Windows refuses in names
    // (control characters, < > : " | ? *), or a relative path without a
    // current directory.
    [[nodiscard]] std::optional<std::filesystem::path> resolve(
        std::string_view windowsPath, std::string_view currentDirectory = {}) const;
    // The same path relative to folder() ("C/TEMP/x"), for access that walks
    // down from the root without following links (see contained_files.h).
    [[nodiscard]] std::optional<std::filesystem::path> resolveBelow(
        std::string_view windowsPath, std::string_view currentDirectory = {}) const;

    // The file holding one of the machine's stores ("registry.json", ...).
    [[nodiscard]] std::filesystem::path storeFile(std::string_view name) const;

private:
    std::filesystem::path m_folder;
};

// Case-insensitive comparison of two ASCII texts, as Windows compares names.
[[nodiscard]] bool EqualNoCase(std::string_view a, std::string_view b);
[[nodiscard]] std::string LowerAscii(std::string_view text);

}  // namespace kit::winenv
