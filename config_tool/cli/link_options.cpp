#include "config_tool/cli/link_options.h"

#include <chrono>
#include <thread>

#include "config_tool/cli/dongle_link_setup.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave::cli {
namespace {

using namespace std::chrono_literals;

// How long the module gets to answer the echo check: the attention command's time-out.
constexpr auto kEchoCheckTimeout = 3000ms;

// Reads until the text holds the reply terminator or the time-out ran out.
std::string ReadReply(ModuleLink& link) {
  std::string text;
  char buffer[64];
  const auto deadline = std::chrono::steady_clock::now() + kEchoCheckTimeout;
  while (text.find("\r\n\r\n") == std::string::npos && text.size() < 4096 &&
         std::chrono::steady_clock::now() < deadline) {
    std::size_t got = 0;
    if (!link.ReadText(buffer, got)) break;
    if (got == 0) std::this_thread::sleep_for(50ms);
    text.append(buffer, got);
  }
  return text;
}

// A module that echoes requests spoils every reply; the echo is switched off the
// way the module search does it: an attention request, and "AT+E" when it came back.
// Each reply is awaited for the attention command's time-out, so that a slow reply
// is not left on the line for the next command to take as its own. 0, 204 when a
// write failed, 201 when the module did not answer.
int SwitchEchoOff(ModuleLink& link) {
  if (!link.WriteText("AT+\r")) return kResultSendFailed;
  std::string reply = ReadReply(link);
  if (reply.empty()) return kResultNoResponse;
  if (!reply.starts_with("AT+\r")) return kResultOk;
  if (!link.WriteText("AT+E\r")) return kResultSendFailed;
  if (ReadReply(link).empty()) return kResultNoResponse;
  return kResultOk;
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
  AddDongleOptions(app, options);
}

bool NoModuleChosen(const LinkOptions& options) {
  if (!options.dongle) return options.port.empty();
  const bool hexAddress = options.module.size() == 12 &&
                          options.module.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
  return !hexAddress || options.channel < 1 || options.channel > 14;
}

int OpenLink(ModuleLink& link, const LinkOptions& options, std::string& error) {
  if (options.dongle) return OpenDongleLink(link, options, error);
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
  result = SwitchEchoOff(link);
  if (result == kResultSendFailed) error = "cannot write to " + options.port + ": " + std::string(ErrorText(result));
  if (result == kResultNoResponse) error = "no answer from the module on " + options.port + ": " + std::string(ErrorText(result));
  return result;
}

}  // namespace tarnwave::cli
