#pragma once
// j57-print's command line: the route, the line settings, the clock and the print
// action, read from argv and checked without printing and without opening a device or
// a file.
#include <optional>
#include <string>

#include "platform/cli/quiet_parse.h"
#include "printer_demo/core/barcode_test.h"
#include "printer_demo/core/date_stamp.h"
#include "printer_demo/core/print_route.h"
#include "printer_demo/sysenv/serial_setup.h"

namespace j57 {

enum class PrintCommand { Menu, Checks, Shopping, Barcode, Text };

struct J57PrintCommandLine {
  std::string routeName;
  PrintRoute route = PrintRoute::Serial;
  std::string device;
  // The line boxes as typed, and their numbers (checked for the serial route).
  std::string baud = "9600", dataBits = "8", stopBits = "1";
  LineNumbers line;
  // --now: the date stamps' fixed time; none: the clock.
  std::optional<LocalTime> now;

  PrintCommand command = PrintCommand::Menu;
  std::string barcodeType;
  BarcodeSize barcodeSize = BarcodeSize::Normal;
  std::string textFile;
  std::string times = "1";
};

struct ParsedJ57PrintCommandLine {
  J57PrintCommandLine options;
  // Set when the program ends now (help or a usage error), with what it prints.
  kit::CommandLineOutcome outcome;
};

ParsedJ57PrintCommandLine ParseJ57PrintCommandLine(int argc, const char* const* argv);

}  // namespace j57
