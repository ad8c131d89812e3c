#include "printer_setup/winenv/win_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "printer_setup/winenv/contained_files.h"

namespace kit::winenv {

namespace {

using contained::Kind;

WinStatus FromErrno(int error, WinStatus missing) {
    switch (error) {
    case 0:
        return WinStatus::Ok;
    case ENOENT:
        return missing;
    case ENOTDIR:
        return WinStatus::PathNotFound;
    case ENOTEMPTY:
    case EEXIST:
        return WinStatus::DirectoryNotEmpty;
    case EINVAL:
    case ENAMETOOLONG:
        return WinStatus::InvalidName;
    default:  // EACCES, EROFS, ELOOP (a link below the root), ...
        return WinStatus::AccessDenied;
    }
}

// The folder holding a drive path, opened without following links, and the
// path's last name. `status` says why there is none.
std::optional<contained::Location> Open(const MachineRoot& root, std::string_view path, WinStatus& status) {
    auto below = root.resolveBelow(path);
    if (!below || below->filename().empty()) {
        status = WinStatus::InvalidName;
        return std::nullopt;
    }
    int error = 0;
    auto location = contained::Locate(root.folder(), *below, error);
    if (!location) status = FromErrno(error, WinStatus::PathNotFound);
    return location;
}

contained::Status StatusAt(const contained::Location& at) {
    int error = 0;
    return contained::StatusOf(at.folder.get(), at.name, error);
}

}  // namespace

WinStatus WinFiles::createDirectory(std::string_view path) const {
    WinStatus status = WinStatus::Ok;
    auto at = Open(m_root, path, status);
    if (!at) return status;
    if (StatusAt(*at).kind != Kind::Missing) return WinStatus::AlreadyExists;
    if (::mkdirat(at->folder.get(), at->name.c_str(), 0755) != 0) {
        return errno == EEXIST ? WinStatus::AlreadyExists : FromErrno(errno, WinStatus::PathNotFound);
    }
    return WinStatus::Ok;
}

WinStatus WinFiles::removeDirectory(std::string_view path) const {
    WinStatus status = WinStatus::Ok;
    auto at = Open(m_root, path, status);
    if (!at) return status;
    if (StatusAt(*at).kind != Kind::Directory) return WinStatus::PathNotFound;
    if (::unlinkat(at->folder.get(), at->name.c_str(), AT_REMOVEDIR) != 0) {
        return FromErrno(errno, WinStatus::PathNotFound);
    }
    return WinStatus::Ok;
}

WinStatus WinFiles::deleteFile(std::string_view path) const {
    WinStatus status = WinStatus::Ok;
    auto at = Open(m_root, path, status);
    if (!at) return status == WinStatus::PathNotFound ? WinStatus::FileNotFound : status;
    Kind kind = StatusAt(*at).kind;
    if (kind == Kind::Missing) return WinStatus::FileNotFound;
    if (kind == Kind::Directory) return WinStatus::AccessDenied;
    // A link is removed itself; what it points to stays untouched.
    if (::unlinkat(at->folder.get(), at->name.c_str(), 0) != 0) return FromErrno(errno, WinStatus::FileNotFound);
    return WinStatus::Ok;
}

WinStatus WinFiles::copyFile(std::string_view source, std::string_view target, bool failIfExists) const {
    WinStatus status = WinStatus::Ok;
    auto from = Open(m_root, source, status);
    if (!from) return status == WinStatus::PathNotFound ? WinStatus::FileNotFound : status;
    auto to = Open(m_root, target, status);
    if (!to) return status;
    int error = 0;
    auto bytes = contained::ReadFile(from->folder.get(), from->name, error);
    if (!bytes) return error == ENOENT || error == EISDIR ? WinStatus::FileNotFound : FromErrno(error, WinStatus::FileNotFound);
    contained::Status existing = StatusAt(*to);
    if (existing.kind == Kind::Directory) return WinStatus::AccessDenied;
    if (existing.kind != Kind::Missing && failIfExists) return WinStatus::AlreadyExists;
    if (existing.kind == Kind::File && !existing.writable) return WinStatus::AccessDenied;
    return FromErrno(contained::ReplaceFile(to->folder.get(), to->name, *bytes), WinStatus::PathNotFound);
}

WinStatus WinFiles::writeFile(std::string_view path, std::string_view bytes) const {
    WinStatus status = WinStatus::Ok;
    auto at = Open(m_root, path, status);
    if (!at) return status;
    contained::Status existing = StatusAt(*at);
    if (existing.kind == Kind::Directory) return WinStatus::AccessDenied;
    // A read-only file is not overwritten, as on Windows.
    if (existing.kind == Kind::File && !existing.writable) return WinStatus::AccessDenied;
    return FromErrno(contained::ReplaceFile(at->folder.get(), at->name, bytes), WinStatus::PathNotFound);
}

std::optional<std::string> WinFiles::readFile(std::string_view path) const {
    WinStatus status = WinStatus::Ok;
    auto at = Open(m_root, path, status);
    if (!at) return std::nullopt;
    int error = 0;
    return contained::ReadFile(at->folder.get(), at->name, error);
}

bool WinFiles::isFile(std::string_view path) const {
    WinStatus status = WinStatus::Ok;
    auto at = Open(m_root, path, status);
    return at && StatusAt(*at).kind == Kind::File;
}

bool WinFiles::isDirectory(std::string_view path) const {
    WinStatus status = WinStatus::Ok;
    auto at = Open(m_root, path, status);
    return at && StatusAt(*at).kind == Kind::Directory;
}

std::optional<std::vector<WinFiles::Entry>> WinFiles::list(std::string_view directory) const {
    auto below = m_root.resolveBelow(directory);
    if (!below) return std::nullopt;
    int error = 0;
    UniqueFd folder = contained::OpenDirectory(m_root.folder(), *below, error);
    if (!folder.valid()) return std::nullopt;
    int scanFd = ::dup(folder.get());
    if (scanFd < 0) return std::nullopt;
    DIR* scan = ::fdopendir(scanFd);
    if (scan == nullptr) {
        ::close(scanFd);
        return std::nullopt;
    }
    std::vector<Entry> entries;
    while (const dirent* item = ::readdir(scan)) {
        std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        // A link shows as an entry of its own and is never entered.
        contained::Status st = contained::StatusOf(folder.get(), name, error);
        Entry entry;
        entry.name = std::move(name);
        entry.directory = st.kind == Kind::Directory;
        entry.size = st.size;
        entries.push_back(std::move(entry));
    }
    ::closedir(scan);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return LowerAscii(a.name) < LowerAscii(b.name); });
    return entries;
}

}  // namespace kit::winenv
