#include "printer_setup/winenv/machine_root.h"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace kit::winenv {
namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits "C:\a\b" into "C" and {"a", "b"}; nothing when the text is not a
// drive path.
std::optional<std::pair<char, std::vector<std::string>>> SplitDrivePath(std::string_view path) {
    if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != ':') return std::nullopt;
    if (path.size() > 2 && !IsSeparator(path[2])) return std::nullopt;  // "C:x" is drive-relative
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 2; i < path.size(); ++i) {
        if (IsSeparator(path[i])) {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(path[i]);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    char drive = path[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    return std::make_pair(drive, std::move(parts));
}

bool ComponentAllowed(const std::string& part) {
    if (part == "..") return false;
    // Characters Windows never allows in a name; "*" and "?" in particular
    // must not become literal file names here.
    for (char c : part) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
    }
    // Windows drops trailing dots and blanks, which would let "..." or ". ."
    // stand for a parent; refuse names made only of them.
    return part.find_first_not_of(". ") != std::string::npos || part == ".";
}

// The existing entry of `dir` whose name equals `name` without regard to case.
// A link is never looked through: `dir` is known not to be one.
std::optional<std::string> FindNoCase(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dir / name, ec))) return name;  // exact case exists
    fs::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;
    for (const auto& entry : it) {
        std::string entryName = entry.path().filename().string();
        if (EqualNoCase(entryName, name)) return entryName;
    }
    return std::nullopt;
}

}  // namespace

MachineRoot::MachineRoot(fs::path folder) : m_folder(std::move(folder)) {}

fs::path MachineRoot::DefaultFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return fs::path("winroot");
    return fs::path(home) / ".local" / "share" / "kit" / "winroot";
}

std::optional<fs::path> MachineRoot::resolve(std::string_view windowsPath,
                                             std::string_view currentDirectory) const {
    auto below = resolveBelow(windowsPath, currentDirectory);
    if (!below) return std::nullopt;
    return m_folder / *below;
}

std::optional<fs::path> MachineRoot::resolveBelow(std::string_view windowsPath,
                                                  std::string_view currentDirectory) const {
    auto split = SplitDrivePath(windowsPath);
    if (!split) {
        if (windowsPath.empty() || IsSeparator(windowsPath[0])) return std::nullopt;
        if (windowsPath.size() >= 2 && windowsPath[1] == ':') return std::nullopt;
        if (currentDirectory.empty()) return std::nullopt;
        std::string joined(currentDirectory);
        if (!IsSeparator(joined.back())) joined.push_back('\\');
        joined.append(windowsPath);
        split = SplitDrivePath(joined);
        if (!split) return std::nullopt;
    }
    fs::path below = std::string(1, split->first);
    // The case lookup stops at the first part that is missing or is a link.
    std::error_code ec;
    bool lookUp = fs::is_directory(fs::symlink_status(m_folder / below, ec));
    for (const std::string& part : split->second) {
        if (!ComponentAllowed(part)) return std::nullopt;
        if (part == ".") continue;
        if (lookUp) {
            if (auto found = FindNoCase(m_folder / below, part)) {
                below /= *found;
                lookUp = fs::is_directory(fs::symlink_status(m_folder / below, ec));
                continue;
            }
            lookUp = false;
        }
        below /= part;
    }
    return below;
}

fs::path MachineRoot::storeFile(std::string_view name) const { return m_folder / std::string(name); }

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace kit::winenv
