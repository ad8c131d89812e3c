#pragma once

#include <cstdint>

#include "printer_setup/winenv/machine_root.h"

namespace kit::winenv {

// The version record as the installer asks for it; `size` must be set to 148
// (the size of the record with its 128-byte service pack text) before asking.
struct OsVersionRecord {
    std::uint32_t size = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 Windows NT
};
inline constexpr std::uint32_t kVersionRecordSize = 148;

// Version and language queries of the machine, answered from its settings.
class SystemInfo {
public:
    explicit SystemInfo(const MachineRoot& root) : m_root(root) {}

    // The version word: major version in the low byte, minor in the next
    // byte, the top bit set for the non-NT platforms, the build number in the
    // remaining bits of the high word.
    [[nodiscard]] std::uint32_t getVersion() const;
    // Fills the record; false when the record size is wrong or the machine is
    // set to refuse the query.
    [[nodiscard]] bool getVersionEx(OsVersionRecord& record) const;
    [[nodiscard]] std::uint16_t getSystemDefaultLangId() const;
    [[nodiscard]] static const char* windowsDirectory() { return "C:\\WINDOWS"; }

private:
    const MachineRoot& m_root;
};

}  // namespace kit::winenv
