#include "printer_setup/winenv/system_info.h"

#include "printer_setup/winenv/machine_settings.h"

namespace kit::winenv {

std::uint32_t SystemInfo::getVersion() const {
    MachineSettings s = MachineSettings::Load(m_root);
    std::uint32_t word = (s.major & 0xFF) | ((s.minor & 0xFF) << 8);
    if (s.platform == WindowsPlatform::WindowsNt) {
        word |= (s.build & 0x7FFF) << 16;
    } else {
        word |= 0x80000000u;
    }
    return word;
}

bool SystemInfo::getVersionEx(OsVersionRecord& record) const {
    if (record.size != kVersionRecordSize) return false;
    MachineSettings s = MachineSettings::Load(m_root);
    if (!s.versionRecordAvailable) return false;
    record.major = s.major;
    record.minor = s.minor;
    record.build = s.build;
    record.platformId = s.platform == WindowsPlatform::WindowsNt   ? 2
                        : s.platform == WindowsPlatform::Windows9x ? 1
                                                                   : 0;
    return true;
}

std::uint16_t SystemInfo::getSystemDefaultLangId() const {
    return MachineSettings::Load(m_root).languageId;
}

}  // namespace kit::winenv
