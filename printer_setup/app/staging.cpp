#include "printer_setup/app/staging.h"

#include <array>

#include "printer_setup/app/driver_set.h"
#include "printer_setup/payload/payload.h"

namespace kit::setup {

namespace {

bool IsBelowTemp(const std::string& path) {
    return path.size() > 8 && winenv::EqualNoCase(std::string_view(path).substr(0, 8), "C:\\TEMP\\");
}

}  // namespace

std::string Staging::DriverDirectory() const {
    std::array<char, 260> buffer{};
    std::uint32_t needed = 0;
    if (!winenv::Succeeded(m_env.spooler.getPrinterDriverDirectory(winenv::Spooler::kEnvironment, 1,
                                                                   buffer, needed))) {
        return {};
    }
    return std::string(buffer.data());
}

void Staging::remember(const std::string& path) {
    if (!IsBelowTemp(path)) return;
    for (const auto& known : m_staged) {
        if (winenv::EqualNoCase(known, path)) return;
    }
    m_staged.push_back(path);
}

bool Staging::write(const std::string& path, std::string_view bytes) {
    winenv::WinStatus status = m_env.files.writeFile(path, bytes);
    if (!winenv::Succeeded(status)) {
        m_failures.push_back("cannot write " + path + ": " + winenv::SystemErrorText(status));
        return false;
    }
    remember(path);
    return true;
}

bool Staging::ExtractPayload(std::uint16_t number, const std::string& target, bool rename) {
    auto bytes = payload::FindResource(payload::kResourceType, number);
    if (!bytes) return false;
    if (!rename) {
        (void)write(target, *bytes);
        return true;
    }
    if (!write(kTempFile, *bytes)) {
        // What temp.txt holds now is another run's text: the target stays empty.
        (void)write(target, {});
        return true;
    }
    auto table = BuildModelLineTable(m_values.g_ModelName);
    CopyWithReplacements(kTempFile, target, table.data(), table.size());
    return true;
}

void Staging::CopyWithReplacements(const std::string& source, const std::string& target,
                                   const ModelLinePair* pairs, std::size_t count) {
    // The target is created before the source is opened, as the line copy does.
    if (!write(target, {})) return;
    auto text = m_env.files.readFile(source);
    if (!text) return;
    (void)write(target, RewriteModelLines(*text, pairs, count));
}

void Staging::CopyToDriverDirectory(const std::string& fileName, bool failIfExists) {
    const std::string directory = DriverDirectory();
    if (directory.empty()) {
        m_failures.push_back("cannot copy " + fileName + ": the spooler names no printer driver directory");
        return;
    }
    winenv::WinStatus status = m_env.files.copyFile(std::string(kTempDirectory) + "\\" + fileName,
                                                    directory + "\\" + fileName, failIfExists);
    if (!winenv::Succeeded(status)) {
        m_failures.push_back("cannot copy " + fileName + " into " + directory + ": " + winenv::SystemErrorText(status));
    }
}

void Staging::StageDriverFiles(int systemCode, std::uint16_t languageId, std::uint16_t languageChoice,
                               const std::string& m) {
    const std::string temp = kTempDirectory;
    const std::array<std::string, 3> stagingDirs{temp, temp + "\\I386", temp + "\\x86"};
    for (const auto& dir : stagingDirs) (void)m_env.files.createDirectory(dir);

    const std::string d = DriverDirectory();

    // Files left by an earlier run; the five model-derived names also leave
    // the version folder of the driver directory.
    const std::array<std::pair<std::string, bool>, 11> leftovers{{
        {"STDNAMES.GPD", false}, {m + ".GPD", true}, {m + ".INI", true}, {m + "D.dll", true},
        {m + "F.dll", true}, {"ZIKU.UFM", false}, {m + "RES.dll", true}, {"UNIDRV.DLL", false},
        {"UNIDRV.HLP", false}, {"UNIDRVUI.DLL", false}, {"UNIRES.DLL", false}}};
    for (const auto& [name, modelDerived] : leftovers) {
        (void)m_env.files.deleteFile(temp + "\\" + name);
        (void)m_env.files.deleteFile(d + "\\" + name);
        if (modelDerived) (void)m_env.files.deleteFile(d + "\\3\\" + name);
    }

    const std::string uninstaller = "uninstall" + m + ".exe";
    ExtractPayload(255, temp + "\\" + uninstaller, false);
    for (const auto& dir : stagingDirs) (void)m_env.files.createDirectory(dir);
    ExtractPayload(256, temp + "\\" + m + ".INF", false);
    CopyToDriverDirectory(uninstaller, false);

    const SystemSet set = SystemSetFor(systemCode);
    const DriverSet blocks = SelectDriverSet(systemCode, languageId, languageChoice);
    (void)m_env.files.createDirectory(temp);
    ExtractPayload(blocks.stdNames, temp + "\\STDNAMES.GPD", false);
    ExtractPayload(blocks.gpd, temp + "\\" + m + ".GPD", true);
    ExtractPayload(blocks.ini, temp + "\\" + m + ".INI", true);
    for (const auto& dir : stagingDirs) ExtractPayload(blocks.driverDll, dir + "\\" + m + "D.dll", false);
    ExtractPayload(blocks.fontMetrics, temp + "\\ZIKU.UFM", false);
    ExtractPayload(blocks.unidrv, temp + "\\UNIDRV.DLL", false);
    ExtractPayload(blocks.unidrvHelp, temp + "\\UNIDRV.HLP", false);
    ExtractPayload(blocks.unidrvUi, temp + "\\UNIDRVUI.DLL", false);
    ExtractPayload(blocks.unires, temp + "\\UNIRES.DLL", false);
    for (const auto& dir : stagingDirs) ExtractPayload(blocks.configDll, dir + "\\" + m + "F.dll", false);
    for (const auto& dir : stagingDirs) ExtractPayload(blocks.resourceDll, dir + "\\" + m + "RES.DLL", false);

    // The names under which the files reach the driver directory differ a
    // little between the sets; the file system does not mind.
    const bool win2000 = set == SystemSet::Windows2000;
    const std::array<std::string, 11> installed{
        "UNIDRV.DLL",   m + ".GPD",   "UNIDRVUI.DLL", "UNIDRV.HLP",
        "UNIRES.DLL",   "STDNAMES.GPD", "ZIKU.UFM",   m + ".INI",
        set == SystemSet::Other ? m + "RES.dll" : m + "RES.DLL",
        win2000 ? m + "D.DLL" : m + "D.dll", win2000 ? m + "F.DLL" : m + "F.dll"};
    for (const auto& name : installed) CopyToDriverDirectory(name, false);
}

void Staging::DeleteStagedFiles() {
    for (const auto& path : m_staged) (void)m_env.files.deleteFile(path);
    m_staged.clear();
}

void Staging::ClearStaging() {
    DeleteStagedFiles();
    (void)m_env.files.removeDirectory("c:\\temp\\i386");
    (void)m_env.files.removeDirectory("c:\\temp\\x86");
    (void)m_env.files.removeDirectory("c:\\temp");
}

}  // namespace kit::setup
