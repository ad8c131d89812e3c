#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "printer_setup/winenv/json_store.h"
#include "printer_setup/winenv/machine_root.h"

namespace kit::winenv {

enum class WindowsPlatform { Win32s, Windows9x, WindowsNt };

// Faults the machine can be told to show, so that the installer's failure
// paths can be walked on purpose.
enum class SpoolerFault {
    None,
    Stopped,          // every spooler call fails
    EnumCallFails,    // the printer list size query answers, the call with the buffer fails
};
enum class PrinterSetupFault {
    None,
    Fails,  // the printer setup command exits with an error and changes nothing
    Hangs,  // the printer setup command never ends on its own
};

// The settings that describe the machine: its Windows version, its system
// default language and its faults. Kept in "machine.json" of the root.
struct MachineSettings {
    WindowsPlatform platform = WindowsPlatform::WindowsNt;
    std::uint32_t major = 6;
    std::uint32_t minor = 1;
    std::uint32_t build = 7601;
    bool versionRecordAvailable = true;
    std::uint16_t languageId = 0x0409;
    SpoolerFault spoolerFault = SpoolerFault::None;
    PrinterSetupFault printerSetupFault = PrinterSetupFault::None;
    // How long a hanging printer setup command stays before it gives up by
    // itself, so an abandoned process does not stay forever.
    std::uint32_t hangSeconds = 600;

    [[nodiscard]] static MachineSettings Load(const MachineRoot& root);
    [[nodiscard]] bool save(const MachineRoot& root) const;
};

// The system default language from a POSIX locale name: "zh_CN..." gives
// 0x0804, "zh_TW..." or "zh_HK..." 0x0404, anything else 0x0409.
[[nodiscard]] std::uint16_t LanguageIdFromLocale(std::string_view locale);
// The same for the locale of this process (LC_ALL, LC_MESSAGES, LANG).
[[nodiscard]] std::uint16_t LanguageIdFromEnvironment();

[[nodiscard]] std::optional<SpoolerFault> ParseSpoolerFault(std::string_view text);
[[nodiscard]] std::optional<PrinterSetupFault> ParsePrinterSetupFault(std::string_view text);
[[nodiscard]] std::string ToString(SpoolerFault fault);
[[nodiscard]] std::string ToString(PrinterSetupFault fault);
[[nodiscard]] std::string ToString(WindowsPlatform platform);
[[nodiscard]] std::optional<WindowsPlatform> ParsePlatform(std::string_view text);

}  // namespace kit::winenv
