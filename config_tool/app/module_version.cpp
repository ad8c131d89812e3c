#include "config_tool/app/module_version.h"

#include <cstdio>

namespace tarnwave {

ModuleVersion SplitVersionText(std::string_view text) {
  ModuleVersion version;
  std::string* part = nullptr;
  for (char c : text) {
    if (c == 'H') {
      part = &version.hardware;
    } else if (c == 'F' || c == 'B') {
      part = &version.firmware;
    } else if (c == '@') {
      part = &version.releaseTime;
    } else if (part != nullptr) {
      part->push_back(c);
    }
  }
  if (!version.hardware.empty()) version.hardware.pop_back();
  if (!version.releaseTime.empty()) version.releaseTime.erase(0, 1);
  return version;
}

std::string FormatModuleAddress(const std::uint8_t (&a)[6]) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

}  // namespace tarnwave
