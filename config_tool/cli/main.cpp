// tarnwave-cli: reads and writes the parameters of a serial-to-WiFi module and runs
// its management commands from the command line.
//
// Exit codes: 0 success, 1 module or link error, 2 usage error.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "config_tool/cli/commands.h"
#include "config_tool/cli/parameter_file_command.h"
#include "config_tool/cli/dongle_link_setup.h"
#include "config_tool/cli/search_command.h"
#include "config_tool/cli/firmware_command.h"
#include "config_tool/cli/socket_command.h"
#include "platform/cli/terminal.h"
#include "platform/cli/parse_command_line.h"

int main(int argc, char** argv) {
  using namespace tarnwave::cli;
  CLI::App app{"Configure a serial-to-WiFi module over its serial line, or over the air through the USB radio "
               "dongle (--dongle).\n"
               "Exit codes: 0 ok, 1 module or link error, 2 usage error.",
               "tarnwave-cli"};
  app.require_subcommand(1);
  app.fallthrough();  // link options may also follow the subcommand
  LinkOptions link;
  AddLinkOptions(app, link);

  app.add_subcommand("ports", "List the serial ports (virtual modules included)");

  bool json = false;
  std::vector<std::string> keys;
  CLI::App* get = app.add_subcommand("get", "Read parameters (all, or the KEYs named) as Key=Value lines");
  get->add_flag("--json", json, "Print one JSON object instead");
  get->add_option("KEY", keys, "Parameter file key names (Ssid, Encry, ..., Password)");

  bool save = false;
  std::vector<std::string> assignments;
  CLI::App* set = app.add_subcommand("set", "Write parameters");
  set->add_flag("--save", save, "Also keep the values in the module's flash (set-and-save form)");
  set->add_option("KEY=VALUE", assignments, "Values in the parameter file's encoding")->required();

  std::string text;
  CLI::App* at = app.add_subcommand("at", "Send one request text (\"AT+...\") and print the reply");
  at->add_option("TEXT", text, "The request without the carriage return")->required();
  bool raw = false;
  at->add_flag("--raw", raw, "Print the reply byte for byte also on a terminal (there, control bytes are escaped)");

  std::string firmwareFile;
  bool loadProgramme = false;
  CLI::App* firmware = app.add_subcommand("firmware", "Update the module's firmware from an image file (serial port only)");
  firmware->add_option("FILE", firmwareFile, "The firmware image (*.IMG)")->required();
  firmware->add_flag("--load", loadProgramme, "Replace the load programme instead of the main programme");

  bool scanJson = false;
  CLI::App* scan = app.add_subcommand("scan", "List the wireless networks the module sees (WSCAN), as the console shows them");
  scan->add_flag("--json", scanJson, "Print one JSON array of the networks instead");

  SocketArguments socketArguments;
  AddSocketCommands(app, socketArguments);

  app.add_subcommand("info", "Show the module's address, hardware and firmware version and release time");

  const std::pair<const char*, const char*> actions[] = {
      {"reset", "Restart the module (AT+Z); unsaved values are lost"},
      {"factory", "Restore the factory parameters (RSTF)"},
      {"flash", "Write the current parameters to flash (PMTF)"},
      {"join", "Join the network of the module's SSID (WJOIN)"},
      {"link", "Show the network link state (LKSTT)"},
  };
  for (const auto& [name, help] : actions) app.add_subcommand(name, help);

  std::string searchChannels = "auto";
  bool searchJson = false;
  CLI::App* radioSearch = app.add_subcommand("radio-search", "List the modules that answer over the radio dongle");
  radioSearch->add_option("--channel", searchChannels, "One channel (1 to 14) or auto (all)");
  radioSearch->add_flag("--json", searchJson, "Print one JSON object: channel -> addresses");

  SearchOptions search;
  AddSearchCommand(app, search);
  std::string parameterFile;
  bool checkOnly = false;
  CLI::App* exportFile = app.add_subcommand("export", "Read every parameter and write them to a parameter file");
  exportFile->add_option("FILE", parameterFile, "The parameter file (other sections in it stay)")->required();
  CLI::App* importFile = app.add_subcommand("import", "Send a parameter file's values that differ, then save (PMTF)");
  importFile->add_option("FILE", parameterFile, "The parameter file")->required();
  importFile->add_flag("--check", checkOnly, "Only read and check the file; no module needed");

  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

  Output io{std::cout, std::cerr, kit::StandardOutputIsTerminal()};
  CLI::App* chosen = app.get_subcommands().front();
  const std::string name = chosen->get_name();
  if (name == "ports") return ListPorts(io);
  if (name == "get") return GetParameters(link, keys, json, io);
  if (name == "set") return SetParameters(link, assignments, save, io);
  if (name == "at") return SendAt(link, text, raw, io);
  if (name == "search") return SearchModules(link, search, io);
  if (name == "export") return ExportParameters(link, parameterFile, io);
  if (name == "import") return ImportParameters(link, parameterFile, checkOnly, io);
  if (name == "firmware") return UpdateFirmware(link, firmwareFile, loadProgramme, kit::StandardOutputIsTerminal(), io);
  if (name == "info") return ShowInfo(link, io);
  if (name == "scan") return ScanNetworks(link, scanJson, io);
  if (name == "socket") return RunSocket(link, socketArguments, io);
  if (name == "radio-search") return RadioSearch(link, searchChannels, searchJson, io);
  return RunAction(link, name, io);
}
