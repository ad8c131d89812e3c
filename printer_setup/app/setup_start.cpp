#include "printer_setup/app/setup_start.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "platform/profile/profile_file.h"
#include "printer_setup/app/driver_set.h"
#include "printer_setup/payload/payload.h"

namespace kit::setup {

namespace {

constexpr std::uint16_t kLangSimplifiedChinese = 0x0804;
constexpr std::size_t kModelBuffer = 260;
constexpr std::size_t kLanguageBuffer = 1000;

bool EndsWithDll(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".dll";
}

// The "*.dll" entries of a folder that are not folders, in name order.
std::vector<std::string> LanguageFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code kindError;
        if (it->is_directory(kindError) || !EndsWithDll(name)) continue;
        files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

bool ExtractPayloadToFile(std::uint16_t number, const std::string& path) {
    const auto bytes = payload::FindResource(payload::kResourceType, number);
    if (!bytes) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes->size()) {
        const ssize_t n = ::write(fd, bytes->data() + done, bytes->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const bool complete = done == bytes->size();
    ::close(fd);
    if (!complete) ::unlink(path.c_str());
    return complete;
}

SetupStart::SetupStart(const std::filesystem::path& appDir, std::uint16_t languageId) : m_languageId(languageId) {
    m_appDir = appDir.string();
    if (m_appDir.empty() || m_appDir.back() != '/') m_appDir += '/';
    m_settingFile = m_appDir + kSettingFileName;
}

std::filesystem::path SetupStart::ProgramFolder() {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : program.parent_path();
}

void SetupStart::InitInstance(InstallerValues& values) {
    std::error_code ec;
    std::filesystem::create_directory(languageFolder(), ec);

    if (IsChineseSystem(m_languageId)) {
        m_languageFile = languageFolder() + "/" +
                         (m_languageId == kLangSimplifiedChinese ? kSimplifiedFile : kTraditionalFile);
        LoadLanguage("Chinese");
    } else {
        m_languageFile = languageFolder() + "/" + kEnglishFile;
        LoadLanguage("English");
    }

    // Any entry of that name counts, as the system's file search finds
    // folders too; one that cannot be read gives the default model.
    if (!std::filesystem::exists(std::filesystem::symlink_status(m_settingFile, ec))) {
        (void)ExtractPayloadToFile(kSettingPayload, m_settingFile);
    }
    std::string model = profile::ReadProfileText("Setting", "PrinterName", "J57", kModelBuffer, m_settingFile);
    // The name is a C string for the rest of the installer.
    if (auto nul = model.find('\0'); nul != std::string::npos) model.resize(nul);
    values.g_ModelName = std::move(model);
}

void SetupStart::LoadLanguage(std::string_view wanted) {
    for (const auto& file : LanguageFiles(languageFolder())) {
        const std::string language = profile::ReadProfileText("Setting", "Language", "", kLanguageBuffer, file);
        if (!language.empty() && language == wanted) return;
    }
    std::error_code ec;
    std::filesystem::create_directory(languageFolder(), ec);
    const std::string folder = languageFolder() + "/";
    (void)ExtractPayloadToFile(kEnglishPayload, folder + kEnglishFile);
    if (IsChineseSystem(m_languageId) && m_languageId != kLangSimplifiedChinese) {
        (void)ExtractPayloadToFile(kTraditionalPayload, folder + kTraditionalFile);
    } else {
        (void)ExtractPayloadToFile(kSimplifiedPayload, folder + kSimplifiedFile);
    }
    m_languageFile = folder + kEnglishFile;
}

}  // namespace kit::setup
