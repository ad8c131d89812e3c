#include "printer_setup/winenv/win_files.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace kit::winenv {
namespace fs = std::filesystem;

namespace {

WinStatus FromErrorCode(const std::error_code& ec) {
    if (ec == std::errc::no_such_file_or_directory) return WinStatus::PathNotFound;
    if (ec == std::errc::permission_denied || ec == std::errc::read_only_file_system) {
        return WinStatus::AccessDenied;
    }
    if (ec == std::errc::directory_not_empty) return WinStatus::DirectoryNotEmpty;
    return WinStatus::AccessDenied;
}

}  // namespace

WinStatus WinFiles::createDirectory(std::string_view path) const {
    auto host = m_root.resolve(path);
    if (!host) return WinStatus::InvalidName;
    std::error_code ec;
    if (fs::exists(*host, ec)) return WinStatus::AlreadyExists;
    if (!fs::is_directory(host->parent_path(), ec)) return WinStatus::PathNotFound;
    fs::create_directory(*host, ec);
    return ec ? FromErrorCode(ec) : WinStatus::Ok;
}

WinStatus WinFiles::removeDirectory(std::string_view path) const {
    auto host = m_root.resolve(path);
    if (!host) return WinStatus::InvalidName;
    std::error_code ec;
    if (!fs::is_directory(*host, ec)) return WinStatus::PathNotFound;
    if (!fs::is_empty(*host, ec)) return WinStatus::DirectoryNotEmpty;
    fs::remove(*host, ec);
    return ec ? FromErrorCode(ec) : WinStatus::Ok;
}

WinStatus WinFiles::deleteFile(std::string_view path) const {
    auto host = m_root.resolve(path);
    if (!host) return WinStatus::InvalidName;
    std::error_code ec;
    auto status = fs::symlink_status(*host, ec);
    if (ec || !fs::exists(status)) return WinStatus::FileNotFound;
    if (fs::is_directory(status)) return WinStatus::AccessDenied;
    fs::remove(*host, ec);
    return ec ? FromErrorCode(ec) : WinStatus::Ok;
}

WinStatus WinFiles::copyFile(std::string_view source, std::string_view target,
                             bool failIfExists) const {
    auto from = m_root.resolve(source);
    auto to = m_root.resolve(target);
    if (!from || !to) return WinStatus::InvalidName;
    std::error_code ec;
    if (!fs::is_regular_file(*from, ec)) return WinStatus::FileNotFound;
    if (fs::is_directory(*to, ec)) return WinStatus::AccessDenied;
    if (fs::exists(*to, ec) && failIfExists) return WinStatus::AlreadyExists;
    if (!fs::is_directory(to->parent_path(), ec)) return WinStatus::PathNotFound;
    fs::copy_file(*from, *to, fs::copy_options::overwrite_existing, ec);
    return ec ? FromErrorCode(ec) : WinStatus::Ok;
}

WinStatus WinFiles::writeFile(std::string_view path, std::string_view bytes) const {
    auto host = m_root.resolve(path);
    if (!host) return WinStatus::InvalidName;
    std::error_code ec;
    if (fs::is_directory(*host, ec)) return WinStatus::AccessDenied;
    if (!fs::is_directory(host->parent_path(), ec)) return WinStatus::PathNotFound;
    std::ofstream out(*host, std::ios::binary | std::ios::trunc);
    if (!out) return WinStatus::AccessDenied;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? WinStatus::Ok : WinStatus::AccessDenied;
}

std::optional<std::string> WinFiles::readFile(std::string_view path) const {
    auto host = m_root.resolve(path);
    if (!host) return std::nullopt;
    std::error_code ec;
    if (!fs::is_regular_file(*host, ec)) return std::nullopt;
    std::ifstream in(*host, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool WinFiles::isFile(std::string_view path) const {
    auto host = m_root.resolve(path);
    std::error_code ec;
    return host && fs::is_regular_file(*host, ec);
}

bool WinFiles::isDirectory(std::string_view path) const {
    auto host = m_root.resolve(path);
    std::error_code ec;
    return host && fs::is_directory(*host, ec);
}

std::optional<std::vector<WinFiles::Entry>> WinFiles::list(std::string_view directory) const {
    auto host = m_root.resolve(directory);
    std::error_code ec;
    if (!host || !fs::is_directory(*host, ec)) return std::nullopt;
    std::vector<Entry> entries;
    for (const auto& item : fs::directory_iterator(*host, ec)) {
        Entry entry;
        entry.name = item.path().filename().string();
        entry.directory = item.is_directory(ec);
        entry.size = entry.directory ? 0 : item.file_size(ec);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return LowerAscii(a.name) < LowerAscii(b.name); });
    return entries;
}

}  // namespace kit::winenv
