#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "printer_setup/app/installer_values.h"

namespace kit::setup {

// The start of the installer: its own folder, the settings file and the
// language files next to it, and the language file the dialogs use.
//
// Paths are host paths: the installer's folder is the folder of the program
// (or the one given with --app-dir), not a folder of the machine root. Nothing
// here reports a failure: a folder that cannot be written leaves the files
// unwritten, the dialogs keep their own texts and the model name stays "J57".
class SetupStart {
public:
    static constexpr const char* kSettingFileName = "setting.dll";
    static constexpr const char* kLanguageFolderName = "Language";
    static constexpr const char* kEnglishFile = "Multi_eng.dll";
    static constexpr const char* kSimplifiedFile = "Multi_ch.dll";
    static constexpr const char* kTraditionalFile = "Multi_ch_BIG5.dll";
    static constexpr std::uint16_t kSettingPayload = 148;
    static constexpr std::uint16_t kEnglishPayload = 147;
    static constexpr std::uint16_t kSimplifiedPayload = 146;
    static constexpr std::uint16_t kTraditionalPayload = 248;

    // `appDir` is the installer's folder; `languageId` the machine's system
    // default language identifier.
    SetupStart(const std::filesystem::path& appDir, std::uint16_t languageId);

    // The folder of the running program.
    [[nodiscard]] static std::filesystem::path ProgramFolder();

    // Creates the "Language" folder, picks the language file by the system
    // language and runs LoadLanguage, writes "setting.dll" from its payload
    // when no such entry exists, and reads "PrinterName" into g_ModelName
    // (default "J57", at most 259 characters; an empty value stays empty).
    void InitInstance(InstallerValues& values);

    // Looks for a "*.dll" in the "Language" folder whose [Setting] Language
    // value is exactly `wanted`. When none is found it writes the English file
    // and the Chinese file of the system's language, and the dialogs use the
    // English file for this run.
    void LoadLanguage(std::string_view wanted);

    [[nodiscard]] const std::string& g_AppDir() const { return m_appDir; }
    [[nodiscard]] const std::string& g_SettingFile() const { return m_settingFile; }
    [[nodiscard]] const std::string& g_LanguageFile() const { return m_languageFile; }

private:
    [[nodiscard]] std::string languageFolder() const { return m_appDir + kLanguageFolderName; }

    std::uint16_t m_languageId;
    std::string m_appDir;       // ends in "/"
    std::string m_settingFile;
    std::string m_languageFile;
};

// Writes a payload block to a host file (created or truncated, never through
// a symbolic link). False when the block is unknown or the file cannot be
// written; a failed write leaves no partial file behind.
bool ExtractPayloadToFile(std::uint16_t number, const std::string& path);

}  // namespace kit::setup
