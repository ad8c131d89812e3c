#include "printer_setup/winenv/json_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <system_error>

namespace kit::winenv {
namespace fs = std::filesystem;

namespace {

// Holds an exclusive flock on "<file>.lock" while alive.
class FileLock {
public:
    explicit FileLock(const fs::path& file) {
        fs::path lock = file;
        lock += ".lock";
        m_fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~FileLock() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    [[nodiscard]] bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace

std::optional<nlohmann::json> JsonStore::load() const {
    std::error_code ec;
    if (!fs::exists(m_file, ec)) return nlohmann::json::object();
    std::ifstream in(m_file, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    auto document = nlohmann::json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;
    return document;
}

bool JsonStore::save(const nlohmann::json& document) const {
    std::error_code ec;
    fs::create_directories(m_file.parent_path(), ec);
    fs::path temporary = m_file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        out.flush();
        if (!out) return false;
    }
    int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    fs::rename(temporary, m_file, ec);
    return !ec;
}

bool JsonStore::update(const std::function<bool(nlohmann::json&)>& change) const {
    std::error_code ec;
    fs::create_directories(m_file.parent_path(), ec);
    FileLock lock(m_file);
    if (!lock.held()) return false;
    auto document = load();
    if (!document) return false;
    // A document edited by hand may hold values of unexpected types; the
    // change then fails instead of throwing out of the store.
    try {
        if (!change(*document)) return true;
    } catch (const nlohmann::json::exception&) {
        return false;
    }
    return save(*document);
}

}  // namespace kit::winenv
