#pragma once

#include "printer_setup/winenv/system_info.h"

namespace kit::setup {

// The running Windows as a system code: 0 Win32s, 1 Windows 95 family,
// 2 Windows 98, 3 Windows Me, 4 NT family (other), 5 NT 4.0, 6 Windows 2000,
// 7 XP, 8 Server 2003, 9 Vista, 10 Windows 7. When the version record cannot
// be read, the coarse code of the version word (1 or 4) stands.
[[nodiscard]] int DetectSystem(const winenv::SystemInfo& system);

}  // namespace kit::setup
