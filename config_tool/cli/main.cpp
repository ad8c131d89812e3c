// tarnwave-cli: reads and writes the parameters of a serial-to-WiFi module and runs
// its management commands from the command line.
//
// Exit codes: 0 success, 1 module or link error, 2 usage error.

#include <unistd.h>

#include <iostream>

#include "config_tool/cli/commands.h"
#include "config_tool/cli/tarnwave_command_line.h"
#include "config_tool/cli/parameter_file_command.h"
#include "config_tool/cli/dongle_link_setup.h"
#include "config_tool/cli/search_command.h"
#include "config_tool/cli/firmware_command.h"
#include "config_tool/cli/socket_command.h"
#include "platform/cli/terminal.h"

int main(int argc, char** argv) {
  using namespace tarnwave::cli;
  const ParsedTarnwaveCommandLine parsed = ParseTarnwaveCommandLine(argc, argv);
  if (parsed.outcome.exitCode) return parsed.outcome.report(std::cout, std::cerr);
  const TarnwaveCommandLine& c = parsed.options;
  const LinkOptions& link = c.link;

  Output io{std::cout, std::cerr, kit::StandardOutputIsTerminal()};
  const std::string& name = c.command;
  if (name == "ports") return ListPorts(io);
  if (name == "get") return GetParameters(link, c.keys, c.json, io);
  if (name == "set") return SetParameters(link, c.assignments, c.save, io);
  if (name == "at") return SendAt(link, c.text, c.raw, io);
  if (name == "search") return SearchModules(link, c.search, io);
  if (name == "export") return ExportParameters(link, c.parameterFile, io);
  if (name == "import") return ImportParameters(link, c.parameterFile, c.checkOnly, io);
  if (name == "firmware") return UpdateFirmware(link, c.firmwareFile, c.loadProgramme, kit::StandardOutputIsTerminal(), io);
  if (name == "info") return ShowInfo(link, io);
  if (name == "scan") return ScanNetworks(link, c.scanJson, io);
  if (name == "socket") return RunSocket(link, c.socket, io);
  if (name == "radio-search") return RadioSearch(link, c.searchChannels, c.searchJson, io);
  return RunAction(link, name, io);
}
