#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "printer_setup/app/installer_values.h"
#include "printer_setup/app/model_lines.h"
#include "printer_setup/winenv/win_env.h"

namespace kit::setup {

// Writes the payload out as files: into the staging area "C:\TEMP" (with its
// "I386" and "x86" folders) for the printer setup command, and into the
// printer driver directory. It remembers every staging file it wrote, so
// that the clean-up deletes only those and never another program's files in
// the shared "C:\TEMP".
class Staging {
public:
    static constexpr const char* kTempDirectory = "C:\\TEMP";
    static constexpr const char* kTempFile = "c:\\temp\\temp.txt";

    Staging(winenv::WinEnv& env, const InstallerValues& values) : m_env(env), m_values(values) {}

    // Writes payload block `number` to `target`. With `rename` the bytes go
    // to "c:\temp\temp.txt" first and are copied to the target with the model
    // lines rewritten for g_ModelName; when temp.txt cannot be written the
    // target is created empty (never from an older temp.txt). False only when
    // the block does not exist; a target that cannot be written is passed over.
    bool ExtractPayload(std::uint16_t number, const std::string& target, bool rename);

    // Copies `source` to `target` through the model line table. The target is
    // created (empty) even when the source cannot be read.
    void CopyWithReplacements(const std::string& source, const std::string& target,
                              const ModelLinePair* pairs, std::size_t count);

    // Copies "C:\TEMP\<name>" to the printer driver directory.
    void CopyToDriverDirectory(const std::string& fileName, bool failIfExists);

    // The whole staging run for system code, language identifier L, language
    // choice and model name M.
    void StageDriverFiles(int systemCode, std::uint16_t languageId, std::uint16_t languageChoice,
                          const std::string& modelName);

    // Deletes the staging files written by this object, then removes
    // "c:\temp\i386", "c:\temp\x86" and "c:\temp", each only when empty.
    void ClearStaging();
    // The deletion part of ClearStaging alone.
    void DeleteStagedFiles();

    // The spooler's driver directory for "Windows NT x86", empty when the
    // spooler does not answer.
    [[nodiscard]] std::string DriverDirectory() const;

    [[nodiscard]] const std::vector<std::string>& stagedFiles() const { return m_staged; }

    // The writes and copies of the staging run that failed ("cannot write
    // C:\TEMP\J57.INF: Access is denied."), in order. The run itself passes
    // over them; the caller reports them when the installation fails.
    [[nodiscard]] const std::vector<std::string>& failures() const { return m_failures; }

private:
    void remember(const std::string& path);
    bool write(const std::string& path, std::string_view bytes);

    winenv::WinEnv& m_env;
    const InstallerValues& m_values;
    std::vector<std::string> m_staged;  // drive paths below C:\TEMP, as written
    std::vector<std::string> m_failures;
};

}  // namespace kit::setup
