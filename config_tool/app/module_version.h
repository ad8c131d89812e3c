#pragma once
// The module's identity as the system information page shows it: the address as six
// dash-separated hexadecimal pairs and the version text ("QVER") split by its markers.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwave {

struct ModuleVersion {
  std::string hardware;
  std::string firmware;
  std::string releaseTime;
};

// "H" starts the hardware version, "F" or "B" the firmware version and "@" the release
// time; every character up to the next marker belongs to the part of the last marker,
// and characters before the first marker to none. The hardware version then loses its
// last character (the separator before the firmware marker) and the release time its
// first.
ModuleVersion SplitVersionText(std::string_view text);

// "%02X-%02X-%02X-%02X-%02X-%02X".
std::string FormatModuleAddress(const std::uint8_t (&address)[6]);

}  // namespace tarnwave
