#pragma once

// tarnwave-cli over the radio dongle: the dongle options of the link, the
// opening of a dongle link, and the radio search for modules.

#include <string>

#include <CLI/CLI.hpp>

#include "config_tool/cli/commands.h"
#include "config_tool/cli/link_options.h"
#include "config_tool/protocol/module_link.h"

namespace tarnwave::cli {

void AddDongleOptions(CLI::App& app, LinkOptions& options);

// Sets the wireless password and target module, starts the worker, opens the
// dongle and tunes the channel. 0 or the result code; error gets a message.
int OpenDongleLink(ModuleLink& link, const LinkOptions& options, std::string& error);

// Sends one request text over an open dongle link and prints the reply as
// the module sent it (the slices and resends of a command apply; escaped for a
// terminal when escape is set).
int SendAtOverDongle(ModuleLink& link, const std::string& text, bool escape, Output io);

// Searches the channels ("auto": 1 to 14, or one number) and lists the
// module addresses found on each.
int RadioSearch(const LinkOptions& options, const std::string& channels, bool json, Output io);

}  // namespace tarnwave::cli
