#include "printer_setup/winenv/json_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "printer_setup/winenv/contained_files.h"

namespace kit::winenv {
namespace fs = std::filesystem;

namespace {

// Holds an exclusive flock on "<name>.lock" of the store's folder while alive.
// The side file is never opened through a link.
class FileLock {
public:
    FileLock(int folder, const std::string& name) {
        const std::string lock = name + ".lock";
        m_fd = ::openat(folder, lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
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

UniqueFd OpenFolder(const fs::path& file) {
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    return UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

bool NestingWithin(std::string_view text, std::size_t limit) {
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') inString = true;
        else if (c == '{' || c == '[') {
            if (++depth > limit) return false;
        } else if ((c == '}' || c == ']') && depth > 0) {
            --depth;
        }
    }
    return true;
}

std::optional<nlohmann::json> JsonStore::load() const {
    UniqueFd folder = OpenFolder(m_file);
    if (!folder.valid()) return std::nullopt;
    int error = 0;
    auto text = contained::ReadFile(folder.get(), m_file.filename().string(), error, kMaxBytes);
    if (!text) {
        if (error == ENOENT) return nlohmann::json::object();
        return std::nullopt;
    }
    // Deep nesting is refused before parsing: the document's own recursion
    // (copies, destruction, output) would run out of stack.
    if (!NestingWithin(*text, kMaxNesting)) return std::nullopt;
    auto document = nlohmann::json::parse(*text, nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;
    return document;
}

bool JsonStore::save(const nlohmann::json& document) const {
    UniqueFd folder = OpenFolder(m_file);
    if (!folder.valid()) return false;
    std::string text = document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    text.push_back('\n');
    return contained::ReplaceFile(folder.get(), m_file.filename().string(), text) == 0;
}

bool JsonStore::update(const std::function<bool(nlohmann::json&)>& change) const {
    UniqueFd folder = OpenFolder(m_file);
    if (!folder.valid()) return false;
    FileLock lock(folder.get(), m_file.filename().string());
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
