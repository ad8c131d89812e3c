#include "printer_demo/cli/j57_print_command_line.h"

#include <CLI/CLI.hpp>
#include <variant>

#include "printer_demo/cli/command_line_clock.h"
#include "printer_demo/sysenv/comm_control.h"

namespace j57 {

namespace {

kit::CommandLineOutcome Usage(const std::string& message) { return kit::UsageError("j57-print: " + message); }

}  // namespace

ParsedJ57PrintCommandLine ParseJ57PrintCommandLine(int argc, const char* const* argv) {
  ParsedJ57PrintCommandLine parsed;
  J57PrintCommandLine& o = parsed.options;
  CLI::App app{"Print the J57 demo's sample receipts, barcode tests and text files without windows."};
  app.require_subcommand(1);
  app.fallthrough();
  std::string now;
  app.add_option("--route", o.routeName, "serial, lpt1, lpt2 or lpt3")
      ->required()
      ->check(CLI::IsMember({"serial", "lpt1", "lpt2", "lpt3"}));
  app.add_option("--device", o.device,
                 "device path instead of the port's default (serial: COM1's device, $J57_COM1 or /dev/ttyS0; "
                 "lptN: $J57_LPTN or /dev/lp(N-1))");
  app.add_option("--baud", o.baud, "serial baud rate (default 9600)");
  app.add_option("--data-bits", o.dataBits, "serial data bits (default 8)");
  app.add_option("--stop-bits", o.stopBits, "serial stop bits (default 1)");
  app.add_option("--now", now, "date and time for the date stamps, \"YYYY-MM-DD HH:MM:SS\" (default: the clock)");

  auto* menu = app.add_subcommand("menu", "the catering menu receipt");
  auto* checks = app.add_subcommand("checks", "the checks receipt");
  auto* shopping = app.add_subcommand("shopping", "the shopping list receipt");
  auto* barcode = app.add_subcommand("barcode", "a barcode test: TYPE (UPC-A, UPC-E, JAN13, JAN8, CODE39, ITF, "
                                                "CODABAR, CODE93, CODE128; exact case) and SIZE");
  std::string barcodeSize;
  barcode->add_option("TYPE", o.barcodeType, "barcode type as in the type list")->required();
  barcode->add_option("SIZE", barcodeSize, "normal, widen or higher")
      ->required()
      ->check(CLI::IsMember({"normal", "widen", "higher"}));
  auto* text = app.add_subcommand("text", "the manual text test: FILE's text N times, then LF and a cut (a UTF-8 or "
                                          "code page 936 file, sent in code page 936 with CR LF line breaks)");
  text->add_option("FILE", o.textFile, "file to print")->required();
  text->add_option("--times", o.times, "repeat count (default 1; 0 or less prints only LF and the cut)");
  parsed.outcome = kit::ParseQuietly(app, argc, argv);
  if (parsed.outcome.exitCode) return parsed;

  o.route = *RouteFromName(o.routeName);
  o.command = *menu       ? PrintCommand::Menu
              : *checks   ? PrintCommand::Checks
              : *shopping ? PrintCommand::Shopping
              : *barcode  ? PrintCommand::Barcode
                          : PrintCommand::Text;
  o.barcodeSize = barcodeSize == "widen"    ? BarcodeSize::Widen
                  : barcodeSize == "higher" ? BarcodeSize::Higher
                                            : BarcodeSize::Normal;

  if (!now.empty()) {
    o.now = ParseTimestamp(now);
    if (!o.now) {
      parsed.outcome = Usage("--now \"" + now + "\" is not a date and time \"YYYY-MM-DD HH:MM:SS\".");
      return parsed;
    }
  }

  if (o.route == PrintRoute::Serial) {
    const auto line = ConvertLineTexts(o.baud, o.dataBits, o.stopBits);
    if (const auto* error = std::get_if<std::string>(&line)) {
      parsed.outcome = Usage(*error);
      return parsed;
    }
    // Numbers the line cannot take ("--baud -5") are usage errors too, found
    // before the device is opened.
    o.line = std::get<LineNumbers>(line);
    const std::string settings = std::to_string(o.line.baud) + ",N," + std::to_string(o.line.dataBits) + "," +
                                 std::to_string(o.line.stopBits);
    if (!CommControl::ParseSettings(settings))
      parsed.outcome = Usage("--baud " + o.baud + " --data-bits " + o.dataBits + " --stop-bits " + o.stopBits +
                             ": invalid line settings \"" + settings + "\".");
  }
  return parsed;
}

}  // namespace j57
