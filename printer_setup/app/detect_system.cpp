#include "printer_setup/app/detect_system.h"

namespace kit::setup {

int DetectSystem(const winenv::SystemInfo& system) {
    const std::uint32_t word = system.getVersion();
    winenv::OsVersionRecord record;
    record.size = winenv::kVersionRecordSize;
    if (word & 0x80000000u) {
        if ((word & 0xFF) <= 3) return 0;
        int code = 1;
        if (system.getVersionEx(record) && record.major == 4) {
            if (record.minor == 10) code = 2;
            else if (record.minor == 90) code = 3;
        }
        return code;
    }
    int code = 4;
    if (!system.getVersionEx(record)) return code;
    if (record.major == 4) return 5;
    if (record.major == 5 && record.minor == 0) return 6;
    if (record.major == 5 && record.minor == 1) return 7;
    if (record.major == 5 && record.minor == 2) return 8;
    if (record.major == 6 && record.minor == 0) return 9;
    if (record.major == 6 && record.minor == 1) return 10;
    return code;
}

}  // namespace kit::setup
