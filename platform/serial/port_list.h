#pragma once

// Listing of the machine's serial ports.
//
// The list holds the terminal devices under /sys/class/tty that belong to a real
// device driver (ttyS ports only when the UART is present), as /dev paths, and then
// the virtual ports that the kit's simulators announce: every regular file in
// $KIT_RUNTIME_DIR/serial/ whose first line is the path of an existing character device. The
// runtime folder is $KIT_RUNTIME_DIR, else $XDG_RUNTIME_DIR/kit, else /tmp/kit-<uid>.

#include <string>
#include <vector>

namespace kit {

std::vector<std::string> ListSerialPorts();

// Folder where virtual devices announce themselves.
std::string KitRuntimeDir();

// Folder (inside KitRuntimeDir()) where virtual serial ports are announced.
std::string SerialAnnounceDir();

}  // namespace kit
