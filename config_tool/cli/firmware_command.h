#pragma once
// tarnwave-cli firmware FILE [--load] and info: the firmware page's update and the
// system information page's identity, from a terminal. Both run the pages' own code
// (FirmwareWorker, SplitVersionText).

#include <string>

#include "config_tool/cli/commands.h"

namespace tarnwave::cli {

// Updates the module's firmware from FILE (the load programme with loadProgramme).
// A terminal gets a progress bar, anything else one line per block. Ctrl-C stops after
// the current block. 0 when the update finished; 1 with the page's message otherwise;
// 2 for a dongle link (the update needs a serial line).
int UpdateFirmware(const LinkOptions& link, const std::string& file, bool loadProgramme, bool progressBar, Output io);

// Prints the module's address, hardware and firmware version and release time.
int ShowInfo(const LinkOptions& link, Output io);

}  // namespace tarnwave::cli
