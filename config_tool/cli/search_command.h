#pragma once

// tarnwave-cli search: the main window's search for modules, on the command line.

#include <string>
#include <vector>

#include "config_tool/cli/commands.h"
#include "config_tool/cli/link_options.h"

namespace tarnwave::cli {

struct SearchOptions {
  // "auto" (every serial port), "close" (none), or the port paths to probe.
  std::vector<std::string> ports{"auto"};
  // "auto" (channels 1 to 14), "close" (no radio search) or one channel 1 to 14.
  std::string channel = "close";
  bool json = false;
};

void AddSearchCommand(CLI::App& app, SearchOptions& options);

// Prints the rows of the device list ("No.", "Port", "Device ID"). Exit 1 with the
// window's text when nothing was found; 2 when neither kind of search was chosen.
int SearchModules(const LinkOptions& link, const SearchOptions& options, Output io);

}  // namespace tarnwave::cli
