#include "printer_setup/winenv/machine_settings.h"

#include <cstdlib>

namespace kit::winenv {
using nlohmann::json;

MachineSettings MachineSettings::Load(const MachineRoot& root) {
    MachineSettings settings;
    auto document = JsonStore(root.storeFile("machine.json")).load();
    if (!document) return settings;
    try {
        const json& d = *document;
        if (auto p = ParsePlatform(d.value("platform", "nt"))) settings.platform = *p;
        settings.major = d.value("major", settings.major);
        settings.minor = d.value("minor", settings.minor);
        settings.build = d.value("build", settings.build);
        settings.versionRecordAvailable = d.value("versionRecord", true);
        settings.languageId = d.value("languageId", settings.languageId);
        if (auto f = ParseSpoolerFault(d.value("spoolerFault", "none"))) settings.spoolerFault = *f;
        if (auto f = ParsePrinterSetupFault(d.value("printerSetupFault", "none"))) {
            settings.printerSetupFault = *f;
        }
        settings.hangSeconds = d.value("hangSeconds", settings.hangSeconds);
    } catch (const json::exception&) {
        return MachineSettings{};
    }
    return settings;
}

bool MachineSettings::save(const MachineRoot& root) const {
    json d{{"platform", ToString(platform)},
           {"major", major},
           {"minor", minor},
           {"build", build},
           {"versionRecord", versionRecordAvailable},
           {"languageId", languageId},
           {"spoolerFault", ToString(spoolerFault)},
           {"printerSetupFault", ToString(printerSetupFault)},
           {"hangSeconds", hangSeconds}};
    return JsonStore(root.storeFile("machine.json")).save(d);
}

std::uint16_t LanguageIdFromLocale(std::string_view locale) {
    if (locale.starts_with("zh_CN")) return 0x0804;
    if (locale.starts_with("zh_TW") || locale.starts_with("zh_HK")) return 0x0404;
    return 0x0409;
}

std::uint16_t LanguageIdFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return LanguageIdFromLocale(value);
    }
    return 0x0409;
}

std::optional<SpoolerFault> ParseSpoolerFault(std::string_view text) {
    if (text == "none") return SpoolerFault::None;
    if (text == "stopped") return SpoolerFault::Stopped;
    if (text == "enum-call-fails") return SpoolerFault::EnumCallFails;
    return std::nullopt;
}

std::optional<PrinterSetupFault> ParsePrinterSetupFault(std::string_view text) {
    if (text == "none") return PrinterSetupFault::None;
    if (text == "fails") return PrinterSetupFault::Fails;
    if (text == "hangs") return PrinterSetupFault::Hangs;
    return std::nullopt;
}

std::string ToString(SpoolerFault fault) {
    switch (fault) {
    case SpoolerFault::None: return "none";
    case SpoolerFault::Stopped: return "stopped";
    case SpoolerFault::EnumCallFails: return "enum-call-fails";
    }
    return "none";
}

std::string ToString(PrinterSetupFault fault) {
    switch (fault) {
    case PrinterSetupFault::None: return "none";
    case PrinterSetupFault::Fails: return "fails";
    case PrinterSetupFault::Hangs: return "hangs";
    }
    return "none";
}

std::string ToString(WindowsPlatform platform) {
    switch (platform) {
    case WindowsPlatform::Win32s: return "win32s";
    case WindowsPlatform::Windows9x: return "9x";
    case WindowsPlatform::WindowsNt: return "nt";
    }
    return "nt";
}

std::optional<WindowsPlatform> ParsePlatform(std::string_view text) {
    if (text == "win32s") return WindowsPlatform::Win32s;
    if (text == "9x") return WindowsPlatform::Windows9x;
    if (text == "nt") return WindowsPlatform::WindowsNt;
    return std::nullopt;
}

}  // namespace kit::winenv
