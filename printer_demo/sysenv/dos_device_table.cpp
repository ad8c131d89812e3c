#include "printer_demo/sysenv/dos_device_table.h"

#include <cstdlib>

#include "platform/text/number_reader.h"

namespace j57 {

bool DosDeviceTable::define(unsigned flags, std::string_view name, std::string_view target) {
  if (name.empty() || target.empty()) return false;
  m_entries.insert_or_assign(std::string(name), Entry{flags, std::string(target)});
  return true;
}

std::optional<std::string> DosDeviceTable::target(std::string_view name) const {
  const auto found = m_entries.find(name);
  if (found == m_entries.end()) return std::nullopt;
  return found->second.target;
}

std::optional<std::string> SerialDevicePath(int number, const DosDeviceTable& table) {
  if (number < 1 || number > 16) return std::nullopt;
  const std::string name = "COM" + std::to_string(number);
  const std::string variable = "J57_" + name;
  if (const char* overridden = std::getenv(variable.c_str()); overridden && *overridden) return overridden;
  if (auto target = table.target(name)) {
    constexpr std::string_view kSerialDevice = "\\Device\\Serial";
    if (target->starts_with(kSerialDevice) && target->size() > kSerialDevice.size())
      return "/dev/ttyS" + std::to_string(kit::ReadLeadingUnsigned(std::string_view(*target).substr(kSerialDevice.size())));
    return *target;  // a target that is already a path
  }
  return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace j57
