#pragma once

// tarnwave-cli's command line: the options and the subcommand chosen, read from argv
// without printing and without touching a port or a file.

#include <string>
#include <vector>

#include "config_tool/cli/link_options.h"
#include "config_tool/cli/search_command.h"
#include "config_tool/cli/socket_command.h"
#include "platform/cli/quiet_parse.h"

namespace tarnwave::cli {

struct TarnwaveCommandLine {
  LinkOptions link;
  std::string command;  // the subcommand's name: get, set, at, ...

  bool json = false;  // get --json
  std::vector<std::string> keys;
  bool save = false;  // set --save
  std::vector<std::string> assignments;
  std::string text;  // at
  bool raw = false;
  std::string firmwareFile;
  bool loadProgramme = false;
  bool scanJson = false;
  SocketArguments socket;
  std::string searchChannels = "auto";  // radio-search
  bool searchJson = false;
  SearchOptions search;
  std::string parameterFile;  // export, import
  bool checkOnly = false;
};

struct ParsedTarnwaveCommandLine {
  TarnwaveCommandLine options;
  // Set when the program ends now (help or a usage error), with what it prints.
  kit::CommandLineOutcome outcome;
};

ParsedTarnwaveCommandLine ParseTarnwaveCommandLine(int argc, const char* const* argv);

}  // namespace tarnwave::cli
