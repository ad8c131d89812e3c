#include "config_tool/cli/tarnwave_command_line.h"

#include <CLI/CLI.hpp>
#include <utility>

namespace tarnwave::cli {

ParsedTarnwaveCommandLine ParseTarnwaveCommandLine(int argc, const char* const* argv) {
  ParsedTarnwaveCommandLine parsed;
  TarnwaveCommandLine& o = parsed.options;
  CLI::App app{"Configure a serial-to-WiFi module over its serial line, or over the air through the USB radio "
               "dongle (--dongle).\n"
               "Exit codes: 0 ok, 1 module or link error, 2 usage error.",
               "tarnwave-cli"};
  app.require_subcommand(1);
  app.fallthrough();  // link options may also follow the subcommand
  AddLinkOptions(app, o.link);

  app.add_subcommand("ports", "List the serial ports (virtual modules included)");

  CLI::App* get = app.add_subcommand("get", "Read parameters (all, or the KEYs named) as Key=Value lines");
  get->add_flag("--json", o.json, "Print one JSON object instead");
  get->add_option("KEY", o.keys, "Parameter file key names (Ssid, Encry, ..., Password)");

  CLI::App* set = app.add_subcommand("set", "Write parameters");
  set->add_flag("--save", o.save, "Also keep the values in the module's flash (set-and-save form)");
  set->add_option("KEY=VALUE", o.assignments, "Values in the parameter file's encoding")->required();

  CLI::App* at = app.add_subcommand("at", "Send one request text (\"AT+...\") and print the reply");
  at->add_option("TEXT", o.text, "The request without the carriage return")->required();
  at->add_flag("--raw", o.raw, "Print the reply byte for byte also on a terminal (there, control bytes are escaped)");

  CLI::App* firmware = app.add_subcommand("firmware", "Update the module's firmware from an image file (serial port only)");
  firmware->add_option("FILE", o.firmwareFile, "The firmware image (*.IMG)")->required();
  firmware->add_flag("--load", o.loadProgramme, "Replace the load programme instead of the main programme");

  CLI::App* scan = app.add_subcommand("scan", "List the wireless networks the module sees (WSCAN), as the console shows them");
  scan->add_flag("--json", o.scanJson, "Print one JSON array of the networks instead");

  AddSocketCommands(app, o.socket);

  app.add_subcommand("info", "Show the module's address, hardware and firmware version and release time");

  const std::pair<const char*, const char*> actions[] = {
      {"reset", "Restart the module (AT+Z); unsaved values are lost"},
      {"factory", "Restore the factory parameters (RSTF)"},
      {"flash", "Write the current parameters to flash (PMTF)"},
      {"join", "Join the network of the module's SSID (WJOIN)"},
      {"link", "Show the network link state (LKSTT)"},
  };
  for (const auto& [name, help] : actions) app.add_subcommand(name, help);

  CLI::App* radioSearch = app.add_subcommand("radio-search", "List the modules that answer over the radio dongle");
  radioSearch->add_option("--channel", o.searchChannels, "One channel (1 to 14) or auto (all)");
  radioSearch->add_flag("--json", o.searchJson, "Print one JSON object: channel -> addresses");

  AddSearchCommand(app, o.search);
  CLI::App* exportFile = app.add_subcommand("export", "Read every parameter and write them to a parameter file");
  exportFile->add_option("FILE", o.parameterFile, "The parameter file (other sections in it stay)")->required();
  CLI::App* importFile = app.add_subcommand("import", "Send a parameter file's values that differ, then save (PMTF)");
  importFile->add_option("FILE", o.parameterFile, "The parameter file")->required();
  importFile->add_flag("--check", o.checkOnly, "Only read and check the file; no module needed");

  parsed.outcome = kit::ParseQuietly(app, argc, argv);
  if (!parsed.outcome.exitCode) o.command = app.get_subcommands().front()->get_name();
  return parsed;
}

}  // namespace tarnwave::cli
