#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kit::winenv {

// An open file descriptor, closed when it goes.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    [[nodiscard]] int get() const { return m_fd; }
    [[nodiscard]] bool valid() const { return m_fd >= 0; }
    int release() {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

// File access below a root folder that never leaves it through a symbolic
// link: the root folder is opened as given, and every component below it is
// opened with O_NOFOLLOW, one at a time, so a link anywhere below the root
// (whether it points inside or outside) is refused rather than followed, and
// a link swapped in between a check and the use is refused as well. Errors
// are errno values.
namespace contained {

// Opens `below` (a relative path; empty for the root itself) as a directory.
[[nodiscard]] UniqueFd OpenDirectory(const std::filesystem::path& root, const std::filesystem::path& below,
                                     int& error);

// The opened folder that holds `below`, and the last name of `below`.
struct Location {
    UniqueFd folder;
    std::string name;
};
[[nodiscard]] std::optional<Location> Locate(const std::filesystem::path& root, const std::filesystem::path& below,
                                             int& error);

// What `name` in `folder` is, without following a link.
enum class Kind { Missing, File, Directory, Link, Other };
struct Status {
    Kind kind = Kind::Missing;
    std::uintmax_t size = 0;
    bool writable = true;  // the owner may write it (Windows' read-only attribute cleared)
};
[[nodiscard]] Status StatusOf(int folder, const std::string& name, int& error);

// The bytes of a regular file; a link, a device, a pipe or a directory is
// refused (error ELOOP, EINVAL or EISDIR). Files above `maxBytes` are refused
// with EFBIG.
[[nodiscard]] std::optional<std::string> ReadFile(int folder, const std::string& name, int& error,
                                                  std::uintmax_t maxBytes = std::uintmax_t(1) << 30);

// Writes `bytes` into a new temporary file of `folder` (created with O_EXCL,
// so nothing that already exists is opened), flushes it and renames it over
// `name`. Readers see the old or the new content; a link at `name` is
// replaced, never written through. 0 or an errno value.
[[nodiscard]] int ReplaceFile(int folder, const std::string& name, std::string_view bytes);

}  // namespace contained
}  // namespace kit::winenv
