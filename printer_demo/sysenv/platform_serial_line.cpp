#include "printer_demo/sysenv/platform_serial_line.h"

namespace j57 {

SerialLineOpener PlatformSerialLineOpener() {
  return [](const std::string&, const LineSettings&) -> std::variant<std::unique_ptr<SerialLine>, std::string> {
    return std::string("serial ports are not available yet");
  };
}

}  // namespace j57
