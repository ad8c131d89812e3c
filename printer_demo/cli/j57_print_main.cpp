// j57-print: the demo's print actions without windows, for scripts and tests.
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "printer_demo/cli/command_line_clock.h"
#include "printer_demo/cli/j57_print_command_line.h"
#include "printer_demo/core/box_text.h"
#include "printer_demo/core/print_actions.h"
#include "printer_demo/core/print_route.h"
#include "printer_demo/core/text_file.h"
#include "printer_demo/sysenv/comm_control.h"
#include "printer_demo/sysenv/locale_separators.h"
#include "printer_demo/sysenv/parallel_sink.h"
#include "printer_demo/sysenv/platform_serial_line.h"
#include "printer_demo/sysenv/serial_setup.h"

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

}  // namespace

int main(int argc, char** argv) {
  // A printer that goes away is reported as a write error, not a killed program.
  std::signal(SIGPIPE, SIG_IGN);

  const j57::ParsedJ57PrintCommandLine parsed = j57::ParseJ57PrintCommandLine(argc, argv);
  if (parsed.outcome.exitCode) return parsed.outcome.report(std::cout, std::cerr);
  const j57::J57PrintCommandLine& o = parsed.options;
  const j57::PrintRoute route = o.route;

  std::unique_ptr<j57::WallClock> clock;
  if (o.now) clock = std::make_unique<j57::FixedWallClock>(*o.now);
  else clock = std::make_unique<j57::SystemWallClock>();

  // Everything that can be refused is checked before a device is opened.
  std::string textBytes;
  if (o.command == j57::PrintCommand::Text) {
    const j57::TextFile file = j57::ReadTextFile(o.textFile);
    if (!file.ok) return Fail(file.error);
    // The same conversion as the form's text box: UTF-8 or code page 936 in,
    // code page 936 with CR LF line breaks out.
    const auto printerBytes = j57::FileBytesToPrinterBytes(file.bytes);
    if (!printerBytes)
      return Fail(o.textFile + " is neither UTF-8 nor code page 936 text, or holds characters code page 936 does not have.");
    textBytes = *printerBytes;
  }

  j57::DosDeviceTable devices;
  j57::CommControl comm(devices, j57::PlatformSerialLineOpener());
  if (route == j57::PrintRoute::Serial) {
    // The serial route prints through COM1; --device names its device for this run.
    if (!o.device.empty()) ::setenv("J57_COM1", o.device.c_str(), 1);
    if (auto error = j57::OpenSerialPort(comm, 1, o.line)) return Fail(*error);
  }

  CommandLineConnection connection(route, o.device, comm);
  j57::PrintActions actions(connection, *clock, j57::UserDateSeparators());
  j57::PrintOutcome outcome;
  switch (o.command) {
    case j57::PrintCommand::Menu: outcome = actions.printMenu(); break;
    case j57::PrintCommand::Checks: outcome = actions.printChecks(); break;
    case j57::PrintCommand::Shopping: outcome = actions.printShoppingList(); break;
    case j57::PrintCommand::Barcode:
      if (!j57::FindBarcodeType(o.barcodeType))
        std::cerr << "j57-print: \"" << o.barcodeType << "\" is no barcode type; nothing is printed\n";
      outcome = actions.printBarcode(o.barcodeType, o.barcodeSize);
      break;
    case j57::PrintCommand::Text: outcome = actions.sendText(textBytes, o.times); break;
  }
  comm.closePort();
  if (outcome.failed()) return Fail(outcome.message);
  std::cout << outcome.bytesSent << " bytes sent on " << o.routeName << "\n";
  return 0;
}
