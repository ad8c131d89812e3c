#include "config_tool/cli/socket_command.h"

#include <cstring>
#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "config_tool/app/c_socket_relative.h"
#include "config_tool/app/c_socket_send.h"
#include "config_tool/app/c_socket_recv.h"
#include "config_tool/app/console_text.h"
#include "config_tool/cli/module_text.h"
#include "platform/text/code_page.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/text/number_reader.h"

namespace tarnwave::cli {
namespace {

constexpr long kMaxConnectTimeout = 10000000;
constexpr std::size_t kMaxServerAddress = 31;

int Usage(Output io, const std::string& message) {
  io.err << "tarnwave-cli: " << message << "\n";
  return kExitUsage;
}

int Failure(Output io, const std::string& sentence, int code) {
  io.err << "tarnwave-cli: " << sentence << ErrorText(code) << " (code " << code << ")\n";
  return kExitModuleError;
}

bool Open(ModuleLink& link, const LinkOptions& options, Output io, int& exitCode) {
  std::string error;
  if (OpenLink(link, options, error) == kResultOk) return true;
  io.err << "tarnwave-cli: " << error << "\n";
  exitCode = options.port.empty() && !options.dongle ? kExitUsage : kExitModuleError;
  return false;
}

// Digits only, as the dialogs' number boxes take them.
bool AllDigits(const std::string& text) {
  return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

int SocketNumber(const std::string& text) { return AllDigits(text) ? ReadSocketNumber(text) : 0; }

int Create(ModuleLink& link, const SocketArguments& a, Output io) {
  SocketSetup setup;
  setup.Protocol = a.protocol == "udp" ? 1 : 0;
  if (!a.server.empty()) {
    if (!AllDigits(a.server) || kit::ReadLeadingLong(a.server) > kMaxConnectTimeout)
      return Usage(io, "Please input the right connect overtime time ! (0 to 10000000 seconds, 0 means forever)");
    setup.CsMode = 1;
    setup.connectTimeout = static_cast<std::int32_t>(kit::ReadLeadingLong(a.server));
  } else {
    if (a.client.empty()) return Usage(io, "Please input the server address！");
    if (a.client.size() > kMaxServerAddress || a.client.find_first_of(",\r\n\"") != std::string::npos)
      return Usage(io, "the server address is at most 31 characters, without commas, quotes or line breaks");
    std::memcpy(setup.serverAddress, a.client.data(), a.client.size());
  }
  if (a.port < 1 || a.port > 65535) return Usage(io, "Please input the right socket(1-65535)！");
  setup.Port = a.port;
  const int result = link.createSocket(setup);
  if (result != kResultOk) return Failure(io, "Create failed,", result);
  io.out << setup.Protocol << "\n";
  return kExitOk;
}

int State(ModuleLink& link, const SocketArguments& a, Output io) {
  int number = 0;
  if (!a.number.empty() && (number = SocketNumber(a.number)) == 0)
    return Usage(io, "Please input the right socket number!");
  std::vector<SocketState> states;
  const int result = link.socketStates(number, states);
  if (result != kResultOk) return Failure(io, "Get socket failed,", result);
  for (const SocketState& s : states) {
    const char* word = s.status == 1 ? "Monitor" : s.status == 2 ? "Connect" : "Not connected";
    io.out << s.socket << "\t" << word << "\t" << std::string(s.peerAddress, strnlen(s.peerAddress, sizeof s.peerAddress))
           << "\t" << s.port << "\t" << s.dataLength << "\n";
  }
  return kExitOk;
}

int Send(ModuleLink& link, const SocketArguments& a, Output io) {
  const int number = SocketNumber(a.number);
  if (number == 0) return Usage(io, "Please input the right socket number!");
  std::vector<std::uint8_t> data(CSocketSend::kBufferSize);
  std::size_t count = 0;
  if (!a.hasText) {
    count = ParseHexBytes(a.hex, data);
  } else {
    if (a.text.size() > CSocketSend::kMaxTextBytes) return Usage(io, "Send data number need less than 500!!");
    std::memcpy(data.data(), a.text.data(), a.text.size());
    count = a.text.size();
  }
  if (count == 0) return Usage(io, "Please input the send data number!!");
  std::size_t sent = 0;
  const int result = link.sendOnSocket(number, std::as_bytes(std::span(data).first(count)), sent);
  if (result != kResultOk) return Failure(io, "Send failed,", result);
  io.out << sent << "\n";
  return kExitOk;
}

int Receive(ModuleLink& link, const SocketArguments& a, Output io) {
  const int number = SocketNumber(a.number);
  if (number == 0) return Usage(io, "Please input the currect socket number!");
  if (a.count <= 0) return Usage(io, "Please input the receive data number!");
  if (a.count > CSocketRecv::kMaxCount) return Usage(io, "Receive data number need less than 500!");
  std::vector<std::byte> data;
  const int result = link.receiveFromSocket(number, a.count, data);
  if (result != kResultOk) return Failure(io, "Received failed,", result);
  if (data.empty()) {
    io.err << "tarnwave-cli: No data is received ！\n";
    return kExitOk;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
  const std::size_t shown = std::min<std::size_t>(data.size(), CSocketRecv::kMaxCount);
  if (!a.hexOutput) {
    io.out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(shown));
    return kExitOk;
  }
  std::string text = ReceiveDisplayText({bytes, shown}, true);
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  io.out << text << (text.ends_with('\n') ? "" : "\n");
  return kExitOk;
}

}  // namespace

void AddSocketCommands(CLI::App& app, SocketArguments& a) {
  CLI::App* socket = app.add_subcommand("socket", "Use the module's sockets (as the function test console does)");
  socket->require_subcommand(1);
  socket->fallthrough();

  CLI::App* create = socket->add_subcommand("create", "Create a socket; prints its number");
  create->add_option("PROTOCOL", a.protocol, "tcp or udp")->check(CLI::IsMember({"tcp", "udp"}))->required();
  CLI::Option* client = create->add_option("--client", a.client, "Connect to this server address");
  CLI::Option* server = create->add_option("--server", a.server, "Listen; give up after this many seconds (0 never)");
  client->excludes(server);
  create->add_option("--port", a.port, "Port (1 to 65535)")->required();
  create->callback([&a] { a.action = "create"; });

  CLI::App* state = socket->add_subcommand("state", "Show the state of one socket or of all (socket, status, peer, port, waiting bytes)");
  state->add_option("N", a.number, "Socket number (1 to 256); none: all");
  state->callback([&a] { a.action = "state"; });

  CLI::App* close = socket->add_subcommand("close", "Close a socket");
  close->add_option("N", a.number, "Socket number (1 to 256)")->required();
  close->callback([&a] { a.action = "close"; });

  CLI::App* send = socket->add_subcommand("send", "Send text (at most 500 bytes) or --hex digit pairs; prints the count sent");
  send->add_option("N", a.number, "Socket number (1 to 256)")->required();
  CLI::Option* text = send->add_option("TEXT", a.text, "The text to send");
  CLI::Option* hex = send->add_option("--hex", a.hex, "Bytes as hexadecimal digit pairs, \"41 42 0D\"");
  text->excludes(hex);
  send->callback([&a, text, hex] {
    a.action = "send";
    a.hasText = text->count() > 0;
    if (!a.hasText && hex->count() == 0) throw CLI::ValidationError("send", "give TEXT or --hex");
  });

  CLI::App* recv = socket->add_subcommand("recv", "Receive up to COUNT bytes (1 to 500): raw to standard output, or --hex");
  recv->add_option("N", a.number, "Socket number (1 to 256)")->required();
  recv->add_option("COUNT", a.count, "Bytes wanted")->required();
  recv->add_flag("--hex", a.hexOutput, "Print the bytes as the receive dialog shows them in hexadecimal");
  recv->callback([&a] { a.action = "recv"; });
}

int RunSocket(const LinkOptions& options, const SocketArguments& a, Output io) {
  if (a.action == "create" && a.server.empty() && a.client.empty())
    return Usage(io, "give --client HOST or --server TIMEOUT");
  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  if (a.action == "create") return Create(link, a, io);
  if (a.action == "state") return State(link, a, io);
  if (a.action == "send") return Send(link, a, io);
  if (a.action == "recv") return Receive(link, a, io);
  const int number = SocketNumber(a.number);
  if (number == 0) return Usage(io, "Please input the right socket number!");
  const int result = link.closeSocket(number);
  if (result != kResultOk) return Failure(io, "Close failed,", result);
  return kExitOk;
}

int ScanNetworks(const LinkOptions& options, bool json, Output io) {
  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  int result = link.startScan();
  if (result != kResultOk) return Failure(io, "Scan failed,", result);
  std::vector<ScanEntry> entries;
  result = link.collectScan(entries);
  if (result != kResultOk) return Failure(io, "Scan failed,", result);
  if (entries.empty()) {
    io.err << "tarnwave-cli: Scan results analysis failed.\n";
    return kExitModuleError;
  }
  if (!json) {
    // The console's lines byte for byte, with the module's code page 936 names shown as
    // UTF-8 (control bytes in a name as \xHH); only the layout's own line ends stay raw.
    const std::string text = ScanResultText(entries);
    io.out << text.substr(0, text.find("\r\n\r\n") + 4);
    for (const ScanEntry& e : entries) {
      const std::string line = FormatNetworkLine(e, NetworkLine::Scan);  // ends in "\r\t"
      io.out << ModuleTextToUtf8(std::string_view(line).substr(0, line.size() - 2)) << "\r\t\r\n";
    }
    io.out << "\r\n";
    return kExitOk;
  }
  nlohmann::json list = nlohmann::json::array();
  for (const ScanEntry& e : entries) {
    char bssid[13];
    std::snprintf(bssid, sizeof bssid, "%02X%02X%02X%02X%02X%02X", e.bssid[0], e.bssid[1], e.bssid[2], e.bssid[3],
                  e.bssid[4], e.bssid[5]);
    list.push_back({{"bssid", bssid},
                    {"mode", e.networkMode == 1 ? "adhoc" : "infra"},
                    {"channel", e.channel},
                    {"encryption", e.encryption},
                    {"ssid", ModuleTextToUtf8(std::string_view(e.ssid, strnlen(e.ssid, sizeof e.ssid)))},
                    {"signal", -static_cast<int>(e.signal)},
                    {"percent", SignalPercent(e.signal)}});
  }
  io.out << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  return kExitOk;
}

}  // namespace tarnwave::cli
