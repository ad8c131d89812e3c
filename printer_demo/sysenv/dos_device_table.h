#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace j57 {

// The MS-DOS device names the demo defines at start ("COM5" -> "\Device\Serial0" and
// so on), kept for the life of the program. Serial port numbers are looked up here
// before the default mapping applies.
class DosDeviceTable {
 public:
  // Flag of a raw target path: the target is a kernel device name as it stands.
  static constexpr unsigned kRawTargetPath = 1;

  // Defines or redefines name. Returns false for an empty name or target.
  bool define(unsigned flags, std::string_view name, std::string_view target);
  std::optional<std::string> target(std::string_view name) const;

 private:
  struct Entry {
    unsigned flags;
    std::string target;
  };
  std::map<std::string, Entry, std::less<>> m_entries;
};

// The device path of serial port number n (1..16): $J57_COM<n> when set and not
// empty; else the target of "COM<n>" in the table when it names a kernel serial
// device ("\Device\Serial<k>" -> /dev/ttyS<k>); else /dev/ttyS<n-1>. nullopt for
// numbers outside 1..16.
std::optional<std::string> SerialDevicePath(int number, const DosDeviceTable& table);

}  // namespace j57
