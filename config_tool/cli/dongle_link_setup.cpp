#include "config_tool/cli/dongle_link_setup.h"

#include <chrono>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "config_tool/cli/module_text.h"
#include "config_tool/links/dongle_link_values.h"
#include "config_tool/links/dongle_transport.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/ui/note_sink.h"

namespace tarnwave::cli {
namespace {

// How long the modules of one channel get to answer a search, and the pause
// between stopping the search and reading its result.
constexpr auto kSearchWait = std::chrono::milliseconds(200);
constexpr auto kStopSettle = std::chrono::milliseconds(5);

// Notes of the link (the dongle was pulled out) go to standard error.
class StderrNoteSink : public kit::ui::NoteSink {
 public:
  void showNote(std::string text) override { std::cerr << text << std::endl; }
};

StderrNoteSink& CliNotes() {
  static StderrNoteSink sink;
  return sink;
}

std::optional<kirva::RadioAddress> ParseAddress(const std::string& text) {
  if (text.size() != 12) return std::nullopt;
  kirva::RadioAddress address{};
  for (std::size_t i = 0; i < 6; ++i) {
    unsigned value = 0;
    for (std::size_t j = 0; j < 2; ++j) {
      const char c = text[2 * i + j];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    address[i] = static_cast<std::uint8_t>(value);
  }
  return address;
}

std::string FormatAddress(const kirva::RadioAddress& address) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (auto byte : address) {
    text += digits[byte >> 4];
    text += digits[byte & 0x0F];
  }
  return text;
}

// Opens the dongle without a target module (searching needs none).
int OpenDongle(ModuleLink& link, const LinkOptions& options, std::string& error, DongleTransport*& transport) {
  kirva::WirelessPassword password{};
  std::copy(options.password.begin(), options.password.end(), password.begin());
  SetWirelessPassword(password);
  int result = link.startWorker();
  if (result != kResultOk) {
    error = "cannot start the reply worker";
    return result;
  }
  auto opened = DongleTransport::open(link.request(), link.worker(), &CliNotes(), result);
  if (!opened) {
    error = result == kResultInvalidHandle ? "cannot open the radio dongle (is kirva_udxd running?): " +
                                                 std::string(ErrorText(result))
                                           : "the dongle driver refused the events";
    return result;
  }
  transport = opened.get();
  return link.openTransport(std::move(opened));
}

}  // namespace

void AddDongleOptions(CLI::App& app, LinkOptions& options) {
  app.add_flag("--dongle", options.dongle, "Reach the module over the air through the USB radio dongle");
  app.add_option("--channel", options.channel, "Radio channel of the module (dongle)")->check(CLI::Range(1, 14));
  app.add_option("--module", options.module, "Radio address of the module, twelve hex digits (dongle)");
  app.add_option("--password", options.password, "Wireless password, six characters (dongle)")
      ->check([](const std::string& text) { return text.size() == 6 ? "" : "must be six characters"; });
}

int OpenDongleLink(ModuleLink& link, const LinkOptions& options, std::string& error) {
  const auto module = ParseAddress(options.module);
  if (!module) {
    error = "no module chosen: give --module with twelve hex digits (see 'tarnwave-cli --dongle radio-search')";
    return kResultInvalidHandle;
  }
  if (options.channel < 1 || options.channel > 14) {
    error = "no channel chosen: give --channel 1 to 14";
    return kResultInvalidHandle;
  }
  SetTargetModule(*module);
  DongleTransport* transport = nullptr;
  int result = OpenDongle(link, options, error, transport);
  if (result != kResultOk) return result;
  if (!transport->switchChannel(options.channel)) {
    error = "cannot tune the dongle: " + std::string(ErrorText(kResultSendFailed));
    return kResultSendFailed;
  }
  return kResultOk;
}

int SendAtOverDongle(ModuleLink& link, const std::string& text, bool escape, Output io) {
  auto* transport = dynamic_cast<DongleTransport*>(link.transport());
  if (transport == nullptr) {
    io.err << "tarnwave-cli: " << ErrorText(kResultInvalidHandle) << "\n";
    return kExitModuleError;
  }
  const std::string request = text + "\r";
  link.worker().beginCommand(3000);
  if (!transport->sendRequest(request)) {
    link.worker().abandonCommand();
    io.err << "tarnwave-cli: cannot send the request: " << ErrorText(kResultSendFailed) << "\n";
    return kExitModuleError;
  }
  ReplyWait wait{link.worker().requestEvent(), link.worker().replyEvent(), 3000,
                 [&] { return transport->sendRequest(request); }};
  const int result = transport->awaitReply(wait);
  if (result != kResultOk) {
    link.worker().abandonCommand();
    io.err << "tarnwave-cli: no reply to " << text << ": " << ErrorText(result) << " (code " << result << ")\n";
    return kExitModuleError;
  }
  std::string reply = transport->lastReplyText();
  // The dongle ends a reply with "\n\n" and a zero byte.
  while (!reply.empty() && (reply.back() == '\0' || reply.back() == '\n')) reply.pop_back();
  io.out << (escape ? EscapeForTerminal(reply) : reply) << "\n";
  if (reply.starts_with("+OK")) return kExitOk;
  io.err << "tarnwave-cli: the module refused " << text << " (code " << link.request().errorCode << ")\n";
  return kExitModuleError;
}

int RadioSearch(const LinkOptions& options, const std::string& channels, bool json, Output io) {
  std::vector<int> list;
  if (channels.empty() || channels == "auto") {
    for (int channel = 1; channel <= 14; ++channel) list.push_back(channel);
  } else {
    int channel = 0;
    try {
      std::size_t used = 0;
      channel = std::stoi(channels, &used);
      if (used != channels.size()) channel = 0;
    } catch (const std::exception&) {
      channel = 0;
    }
    if (channel < 1 || channel > 14) {
      io.err << "radio-search: --channel must be 1 to 14 or auto\n";
      return kExitUsage;
    }
    list.push_back(channel);
  }
  ModuleLink link;
  std::string error;
  DongleTransport* transport = nullptr;
  if (OpenDongle(link, options, error, transport) != kResultOk) {
    io.err << error << "\n";
    return kExitModuleError;
  }
  nlohmann::json found = nlohmann::json::object();
  for (int channel : list) {
    if (!transport->startSearch(channel, kirva::kSearchAllAddress)) {
      io.err << "search on channel " << channel << " failed: " << ErrorText(kResultSendFailed) << "\n";
      return kExitModuleError;
    }
    std::this_thread::sleep_for(kSearchWait);
    (void)transport->stopSearch();
    std::this_thread::sleep_for(kStopSettle);
    const auto area = transport->readNotify();
    const auto parsed = area ? kirva::ParseSearchNotify(*area) : std::nullopt;
    if (!parsed) {
      io.err << "search on channel " << channel << ": no answer from the driver\n";
      return kExitModuleError;
    }
    auto& addresses = found[std::to_string(channel)] = nlohmann::json::array();
    for (const auto& address : parsed->addresses) addresses.push_back(FormatAddress(address));
    if (!json && !parsed->addresses.empty()) {
      io.out << "channel " << channel << ":";
      for (const auto& address : parsed->addresses) io.out << " " << FormatAddress(address);
      io.out << "\n";
    }
  }
  if (json) io.out << found.dump() << "\n";
  return kExitOk;
}

}  // namespace tarnwave::cli
