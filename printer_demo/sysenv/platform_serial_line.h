#pragma once

#include "printer_demo/sysenv/serial_line.h"

namespace j57 {

// Opens serial lines through the kit's serial port service.
SerialLineOpener PlatformSerialLineOpener();

}  // namespace j57
