#pragma once
// tarnwave-cli socket ... and scan: the function test console's socket and scan
// operations from scripts, with the checks of the socket dialogs and the console's texts.

#include <CLI/CLI.hpp>
#include <string>

#include "config_tool/cli/commands.h"

namespace tarnwave::cli {

struct SocketArguments {
  std::string action;  // create, state, close, send, recv
  std::string protocol = "tcp";
  std::string client;
  std::string server;  // the connect time-out in seconds, as typed
  int port = 0;
  std::string number;
  std::string text;
  std::string hex;
  bool hasText = false;
  int count = 0;
  bool hexOutput = false;
};

// Adds "socket" and its subcommands create, state, close, send and recv.
void AddSocketCommands(CLI::App& app, SocketArguments& arguments);
int RunSocket(const LinkOptions& link, const SocketArguments& arguments, Output io);

// Scans and prints the networks as the console shows them, or one JSON array.
int ScanNetworks(const LinkOptions& link, bool json, Output io);

}  // namespace tarnwave::cli
