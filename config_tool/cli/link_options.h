#pragma once

// How tarnwave-cli reaches a module: the options that choose and set up the link,
// and the opening of the link from them. A new kind of link (the radio dongle) adds
// its options in AddLinkOptions() and its branch in OpenLink().

#include <string>

#include <CLI/CLI.hpp>

#include "config_tool/protocol/module_link.h"

namespace tarnwave::cli {

struct LinkOptions {
  std::string port;
  int baudRate = 115200;
  int dataBits = 8;
  int stopBits = 1;
  std::string parity = "none";
  // Over the radio dongle instead of a serial port.
  bool dongle = false;
  int channel = 0;
  std::string module;
  std::string password;

  SerialSettings serialSettings() const;
};

void AddLinkOptions(CLI::App& app, LinkOptions& options);

// True when the options name no module to reach: no --port, or with --dongle no
// valid --module and --channel. That is a usage error; every other failure to open
// the link is a link error.
bool NoModuleChosen(const LinkOptions& options);

// Opens the link, starts the reply worker and makes sure the module does not echo.
// Returns 0 or the result code; error receives a message for stderr.
int OpenLink(ModuleLink& link, const LinkOptions& options, std::string& error);

}  // namespace tarnwave::cli
