// j57-print: the demo's print actions without windows, for scripts and tests.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include "printer_demo/cli/command_line_clock.h"
#include "printer_demo/core/box_text.h"
#include "printer_demo/core/print_actions.h"
#include "printer_demo/core/print_route.h"
#include "printer_demo/core/text_file.h"
#include "printer_demo/sysenv/comm_control.h"
#include "printer_demo/sysenv/locale_separators.h"
#include "printer_demo/sysenv/parallel_sink.h"
#include "printer_demo/sysenv/platform_serial_line.h"
#include "printer_demo/sysenv/serial_setup.h"
#include "platform/cli/parse_command_line.h"

namespace {

// The attachment named on the command line: the serial control opened on the
// device, or a parallel port opened per action.
class CommandLineConnection final : public j57::PrinterConnection {
 public:
  CommandLineConnection(j57::PrintRoute route, std::string device, j57::CommControl& comm)
      : m_route(route), m_device(std::move(device)), m_comm(comm) {}

  bool serialOpen() const override { return m_comm.PortOpen(); }
  j57::ByteSink& serialPort() override { return m_comm; }
  std::string parallelName() const override {
    return m_route == j57::PrintRoute::Serial ? std::string{} : "LPT" + std::to_string(j57::ParallelNumber(m_route));
  }
  std::variant<std::unique_ptr<j57::ByteSink>, std::string> openParallel(int number) override {
    return j57::OpenParallelSink(number, m_device);
  }

 private:
  j57::PrintRoute m_route;
  std::string m_device;
  j57::CommControl& m_comm;
};

int Fail(const std::string& message) {
  std::cerr << "j57-print: " << message << "\n";
  return 1;
}

// A value of the command line that cannot be used: a usage error.
int Usage(const std::string& message) {
  std::cerr << "j57-print: " << message << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // A printer that goes away is reported as a write error, not a killed program.
  std::signal(SIGPIPE, SIG_IGN);

  CLI::App app{"Print the J57 demo's sample receipts, barcode tests and text files without windows."};
  app.require_subcommand(1);
  app.fallthrough();
  std::string routeName;
  std::string device;
  std::string baud = "9600", dataBits = "8", stopBits = "1";
  std::string now;
  app.add_option("--route", routeName, "serial, lpt1, lpt2 or lpt3")
      ->required()
      ->check(CLI::IsMember({"serial", "lpt1", "lpt2", "lpt3"}));
  app.add_option("--device", device,
                 "device path instead of the port's default (serial: COM1's device, $J57_COM1 or /dev/ttyS0; "
                 "lptN: $J57_LPTN or /dev/lp(N-1))");
  app.add_option("--baud", baud, "serial baud rate (default 9600)");
  app.add_option("--data-bits", dataBits, "serial data bits (default 8)");
  app.add_option("--stop-bits", stopBits, "serial stop bits (default 1)");
  app.add_option("--now", now, "date and time for the date stamps, \"YYYY-MM-DD HH:MM:SS\" (default: the clock)");

  auto* menu = app.add_subcommand("menu", "the catering menu receipt");
  auto* checks = app.add_subcommand("checks", "the checks receipt");
  auto* shopping = app.add_subcommand("shopping", "the shopping list receipt");
  auto* barcode = app.add_subcommand("barcode", "a barcode test: TYPE (UPC-A, UPC-E, JAN13, JAN8, CODE39, ITF, "
                                                "CODABAR, CODE93, CODE128; exact case) and SIZE");
  std::string barcodeType, barcodeSize;
  barcode->add_option("TYPE", barcodeType, "barcode type as in the type list")->required();
  barcode->add_option("SIZE", barcodeSize, "normal, widen or higher")
      ->required()
      ->check(CLI::IsMember({"normal", "widen", "higher"}));
  auto* text = app.add_subcommand("text", "the manual text test: FILE's text N times, then LF and a cut (a UTF-8 or "
                                          "code page 936 file, sent in code page 936 with CR LF line breaks)");
  std::string textFile, times = "1";
  text->add_option("FILE", textFile, "file to print")->required();
  text->add_option("--times", times, "repeat count (default 1; 0 or less prints only LF and the cut)");
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

  const j57::PrintRoute route = *j57::RouteFromName(routeName);

  std::unique_ptr<j57::WallClock> clock;
  if (now.empty()) {
    clock = std::make_unique<j57::SystemWallClock>();
  } else {
    const auto fixed = j57::ParseTimestamp(now);
    if (!fixed) return Usage("--now \"" + now + "\" is not a date and time \"YYYY-MM-DD HH:MM:SS\".");
    clock = std::make_unique<j57::FixedWallClock>(*fixed);
  }

  // Everything that can be refused is checked before a device is opened.
  std::string textBytes;
  if (*text) {
    const j57::TextFile file = j57::ReadTextFile(textFile);
    if (!file.ok) return Fail(file.error);
    // The same conversion as the form's text box: UTF-8 or code page 936 in,
    // code page 936 with CR LF line breaks out.
    const auto printerBytes = j57::FileBytesToPrinterBytes(file.bytes);
    if (!printerBytes)
      return Fail(textFile + " is neither UTF-8 nor code page 936 text, or holds characters code page 936 does not have.");
    textBytes = *printerBytes;
  }

  j57::DosDeviceTable devices;
  j57::CommControl comm(devices, j57::PlatformSerialLineOpener());
  if (route == j57::PrintRoute::Serial) {
    const auto line = j57::ConvertLineTexts(baud, dataBits, stopBits);
    if (auto* error = std::get_if<std::string>(&line)) return Usage(*error);
    // Numbers the line cannot take ("--baud -5") are usage errors too, found
    // before the device is opened.
    const auto& numbers = std::get<j57::LineNumbers>(line);
    const std::string settings = std::to_string(numbers.baud) + ",N," + std::to_string(numbers.dataBits) + "," +
                                 std::to_string(numbers.stopBits);
    if (!j57::CommControl::ParseSettings(settings))
      return Usage("--baud " + baud + " --data-bits " + dataBits + " --stop-bits " + stopBits +
                   ": invalid line settings \"" + settings + "\".");
    // The serial route prints through COM1; --device names its device for this run.
    if (!device.empty()) ::setenv("J57_COM1", device.c_str(), 1);
    if (auto error = j57::OpenSerialPort(comm, 1, std::get<j57::LineNumbers>(line))) return Fail(*error);
  }

  CommandLineConnection connection(route, device, comm);
  j57::PrintActions actions(connection, *clock, j57::UserDateSeparators());
  j57::PrintOutcome outcome;
  if (*menu) outcome = actions.printMenu();
  else if (*checks) outcome = actions.printChecks();
  else if (*shopping) outcome = actions.printShoppingList();
  else if (*barcode) {
    const j57::BarcodeSize size = barcodeSize == "widen"    ? j57::BarcodeSize::Widen
                                  : barcodeSize == "higher" ? j57::BarcodeSize::Higher
                                                            : j57::BarcodeSize::Normal;
    if (!j57::FindBarcodeType(barcodeType))
      std::cerr << "j57-print: \"" << barcodeType << "\" is no barcode type; nothing is printed\n";
    outcome = actions.printBarcode(barcodeType, size);
  } else {
    outcome = actions.sendText(textBytes, times);
  }
  comm.closePort();
  if (outcome.failed()) return Fail(outcome.message);
  std::cout << outcome.bytesSent << " bytes sent on " << routeName << "\n";
  return 0;
}
