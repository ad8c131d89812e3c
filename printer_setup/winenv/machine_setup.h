#pragma once

#include <string>
#include <vector>

#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/machine_settings.h"
#include "printer_setup/winenv/spooler.h"
#include "printer_setup/winenv/win_status.h"

namespace kit::winenv {

// Prepares a machine root: stores the settings, creates the Windows
// directory with its "inf" folder and the printer driver directory with its
// "3" folder, and gives the print server its standard forms and the listed
// printers. Stores that exist already are kept, so `init` can be repeated to
// change the version or language of a machine.
[[nodiscard]] WinStatus InitMachine(const MachineRoot& root, const MachineSettings& settings,
                                    const std::vector<PrinterRecord>& printers = {});

}  // namespace kit::winenv
