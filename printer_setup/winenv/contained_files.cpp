#include "printer_setup/winenv/contained_files.h"

#include "platform/faults/file_faults.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace kit::winenv {

UniqueFd::~UniqueFd() {
    if (m_fd >= 0) ::close(m_fd);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

namespace contained {
namespace fs = std::filesystem;

namespace {

// A component of a relative path that may be opened below the root.
bool PlainComponent(const std::string& part) { return !part.empty() && part != "." && part != ".."; }

UniqueFd OpenBelow(int folder, const std::string& name, int& error) {
    int fd = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) error = errno;
    return UniqueFd(fd);
}

}  // namespace

UniqueFd OpenDirectory(const fs::path& root, const fs::path& below, int& error) {
    error = 0;
    UniqueFd current(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!current.valid()) {
        error = errno;
        return current;
    }
    for (const auto& component : below) {
        std::string part = component.string();
        if (part.empty() || part == ".") continue;
        if (!PlainComponent(part) || component.has_root_directory()) {
            error = EINVAL;
            return UniqueFd();
        }
        UniqueFd next = OpenBelow(current.get(), part, error);
        if (!next.valid()) return next;
        current = std::move(next);
    }
    return current;
}

std::optional<Location> Locate(const fs::path& root, const fs::path& below, int& error) {
    std::string name = below.filename().string();
    if (!PlainComponent(name) || below.is_absolute()) {
        error = EINVAL;
        return std::nullopt;
    }
    UniqueFd folder = OpenDirectory(root, below.parent_path(), error);
    if (!folder.valid()) return std::nullopt;
    return Location{std::move(folder), std::move(name)};
}

Status StatusOf(int folder, const std::string& name, int& error) {
    error = 0;
    Status status;
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        error = errno;
        return status;
    }
    status.kind = S_ISREG(st.st_mode)   ? Kind::File
                  : S_ISDIR(st.st_mode) ? Kind::Directory
                  : S_ISLNK(st.st_mode) ? Kind::Link
                                        : Kind::Other;
    status.size = S_ISREG(st.st_mode) ? static_cast<std::uintmax_t>(st.st_size) : 0;
    status.writable = (st.st_mode & S_IWUSR) != 0;
    return status;
}

std::optional<std::string> ReadFile(int folder, const std::string& name, int& error, std::uintmax_t maxBytes) {
    error = 0;
    // O_NONBLOCK keeps a FIFO from holding the open; it is refused below.
    UniqueFd fd(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        error = errno;
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error = errno;
        return std::nullopt;
    }
    if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        error = EINVAL;
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        error = EFBIG;
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes) {
            error = EFBIG;
            return std::nullopt;
        }
    }
    return bytes;
}

int ReplaceFile(int folder, const std::string& name, std::string_view bytes) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::string temporary;
    UniqueFd fd;
    for (int attempt = 0; attempt < 16 && !fd.valid(); ++attempt) {
        temporary = "." + name + "." + std::to_string(random() % 1000000000ULL) + ".tmp";
        fd = UniqueFd(::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                               0644));
        if (!fd.valid() && errno != EEXIST) return errno;
    }
    if (!fd.valid()) return EEXIST;
    int error = 0;
    std::size_t done = 0;
    while (done < bytes.size() && error == 0) {
        ssize_t put = kit::faults::FileStepFails(kit::faults::FileStep::Write)
                          ? -1
                          : ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno != EINTR) error = errno;
            continue;
        }
        done += static_cast<std::size_t>(put);
    }
    if (error == 0 && (kit::faults::FileStepFails(kit::faults::FileStep::Flush) || ::fsync(fd.get()) != 0))
        error = errno;
    if (::close(fd.release()) != 0 && error == 0) error = errno;
    if (error == 0 && (kit::faults::FileStepFails(kit::faults::FileStep::Rename) ||
                       ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0))
        error = errno;
    if (error != 0) ::unlinkat(folder, temporary.c_str(), 0);
    return error;
}

}  // namespace contained
}  // namespace kit::winenv
