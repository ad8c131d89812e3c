#include "config_tool/cli/link_options.h"

#include <chrono>
#include <thread>

#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave::cli {
namespace {

using namespace std::chrono_literals;

// Reads until the text holds the reply terminator or the tries run out.
std::string ReadReply(ModuleLink& link, int tries) {
  std::string text;
  char buffer[64];
  for (int i = 0; i < tries && text.find("\r\n\r\n") == std::string::npos; ++i) {
    std::size_t got = 0;
    if (!link.ReadText(buffer, got)) break;
    if (got == 0) std::this_thread::sleep_for(100ms);
    text.append(buffer, got);
  }
  return text;
}

// A module that echoes requests spoils every reply; the echo is switched off the
// way the module search does it: an attention request, and "AT+E" when it came back.
bool SwitchEchoOff(ModuleLink& link) {
  if (!link.WriteText("AT+\r")) return false;
  std::string reply = ReadReply(link, 10);
  if (!reply.starts_with("AT+\r")) return true;
  if (!link.WriteText("AT+E\r")) return false;
  (void)ReadReply(link, 20);
  return true;
}

}  // namespace

SerialSettings LinkOptions::serialSettings() const {
  SerialSettings settings;
  settings.baudRate = baudRate;
  settings.dataBitsIndex = dataBits == 7 ? 1 : 0;
  settings.stopBitsIndex = stopBits == 2 ? 1 : 0;
  settings.parityIndex = parity == "odd" ? 1 : parity == "even" ? 2 : 0;
  return settings;
}

void AddLinkOptions(CLI::App& app, LinkOptions& options) {
  app.add_option("--port", options.port, "Serial port of the module (a device path, e.g. /dev/ttyUSB0)");
  app.add_option("--baud", options.baudRate, "Baud rate")
      ->check(CLI::IsMember({115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200}));
  app.add_option("--data-bits", options.dataBits, "Data bits")->check(CLI::IsMember({8, 7}));
  app.add_option("--stop-bits", options.stopBits, "Stop bits")->check(CLI::IsMember({1, 2}));
  app.add_option("--parity", options.parity, "Parity")->check(CLI::IsMember({"none", "odd", "even"}));
}

int OpenLink(ModuleLink& link, const LinkOptions& options, std::string& error) {
  if (options.port.empty()) {
    error = "no module chosen: give --port PATH (see 'tarnwave-cli ports')";
    return kResultInvalidHandle;
  }
  int result = link.openSerial(options.port, options.serialSettings());
  if (result != kResultOk) {
    error = "cannot open " + options.port + ": " + std::string(ErrorText(result));
    return result;
  }
  result = link.startWorker();
  if (result != kResultOk) {
    error = "cannot start the reply worker";
    return result;
  }
  if (!SwitchEchoOff(link)) {
    error = "cannot write to " + options.port + ": " + std::string(ErrorText(kResultSendFailed));
    return kResultSendFailed;
  }
  return kResultOk;
}

}  // namespace tarnwave::cli
