#include "config_tool/cli/commands.h"

#include "config_tool/cli/dongle_link_setup.h"
#include "config_tool/cli/module_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <thread>

#include "config_tool/app/console_text.h"
#include "config_tool/links/serial_port.h"
#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/parameter_keys.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave::cli {
namespace {

std::string Describe(int code) {
  std::string_view text = ErrorText(code);
  if (text.empty()) return "error code " + std::to_string(code);
  return std::string(text) + " (code " + std::to_string(code) + ")";
}

int ModuleFailure(Output io, const std::string& what, int code) {
  io.err << "tarnwave-cli: " << what << ": " << Describe(code) << "\n";
  return kExitModuleError;
}

// Opens the link; on failure reports and gives the exit code.
bool Open(ModuleLink& link, const LinkOptions& options, Output io, int& exitCode) {
  std::string error;
  if (OpenLink(link, options, error) == kResultOk) return true;
  io.err << "tarnwave-cli: " << error << "\n";
  exitCode = NoModuleChosen(options) ? kExitUsage : kExitModuleError;
  return false;
}

std::string Mnemonic(int commandId) { return std::string(CommandMnemonic(commandId).value_or("?")); }

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  char pair[3];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
    text += pair;
  }
  return text;
}

}  // namespace

int ListPorts(Output io) {
  std::string text;
  SerialPort::EnumeratePorts(text);
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(';', start)) != std::string::npos; start = end + 1)
    io.out << text.substr(start, end - start) << "\n";
  return kExitOk;
}

int GetParameters(const LinkOptions& options, const std::vector<std::string>& names, bool json, Output io) {
  std::vector<const ParameterKey*> keys;
  for (const std::string& name : names) {
    const ParameterKey* key = FindParameterKey(name);
    if (key == nullptr) {
      io.err << "tarnwave-cli: unknown key '" << name << "'\n";
      return kExitUsage;
    }
    keys.push_back(key);
  }
  if (keys.empty())
    for (const ParameterKey& key : ParameterKeys()) keys.push_back(&key);

  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  ModuleParameters record;
  std::vector<int> queried;
  for (const ParameterKey* key : keys) {
    if (std::find(queried.begin(), queried.end(), key->commandId) != queried.end()) continue;
    // Modes decide how some values read, so their commands are asked as well.
    std::vector<int> needed = {key->commandId};
    if (key->name == "KeyType" || key->name == "KeyId" || key->name == "Key") needed.push_back(command::ENCRY);
    if (key->name == "AdhocAutoBuild") needed.push_back(command::WPRT);
    for (int id : needed) {
      if (std::find(queried.begin(), queried.end(), id) != queried.end()) continue;
      int result = link.parameter(id, CommandForm::Query, record);
      if (result != kResultOk) return ModuleFailure(io, "Parameters get error, " + Mnemonic(id), result);
      queried.push_back(id);
    }
  }
  if (json) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const ParameterKey* key : keys)
      object[std::string(key->name)] = ModuleTextToUtf8(FormatParameterValue(record, *key));
    io.out << object.dump(2) << "\n";
  } else {
    for (const ParameterKey* key : keys)
      io.out << key->name << "=" << ModuleTextToUtf8(FormatParameterValue(record, *key)) << "\n";
  }
  return kExitOk;
}

int SetParameters(const LinkOptions& options, const std::vector<std::string>& assignments, bool save, Output io) {
  std::vector<std::pair<const ParameterKey*, std::string>> values;
  for (const std::string& assignment : assignments) {
    std::size_t equals = assignment.find('=');
    const ParameterKey* key = equals == std::string::npos ? nullptr : FindParameterKey(assignment.substr(0, equals));
    if (key == nullptr) {
      io.err << "tarnwave-cli: '" << assignment << "' is not KEY=VALUE with a known KEY\n";
      return kExitUsage;
    }
    // The module keeps its texts in code page 936.
    std::optional<std::string> value = Utf8ToModuleText(std::string_view(assignment).substr(equals + 1));
    if (!value) {
      io.err << "tarnwave-cli: the value of " << key->name << " is not UTF-8 text the module can keep (code page 936)\n";
      return kExitUsage;
    }
    values.emplace_back(key, *value);
  }
  // Each command is sent once, in the parameter file's order.
  std::vector<int> commands;
  for (const ParameterKey& key : ParameterKeys())
    for (const auto& [chosen, value] : values)
      if (chosen->commandId == key.commandId && std::find(commands.begin(), commands.end(), key.commandId) == commands.end())
        commands.push_back(key.commandId);

  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  for (int id : commands) {
    ModuleParameters record;
    // A command that carries several keys is read first and sent whole.
    int keysOfCommand = static_cast<int>(std::count_if(ParameterKeys().begin(), ParameterKeys().end(),
                                                       [id](const ParameterKey& k) { return k.commandId == id; }));
    if (keysOfCommand > 1) {
      int result = link.parameter(id, CommandForm::Query, record);
      if (result != kResultOk) return ModuleFailure(io, "Parameters get error, " + Mnemonic(id), result);
    }
    for (const auto& [key, value] : values) {
      if (key->commandId != id) continue;
      if (std::optional<std::string> problem = ApplyParameterValue(record, *key, value)) {
        io.err << "tarnwave-cli: " << *problem << "\n";
        return kExitUsage;
      }
    }
    int result = link.parameter(id, save ? CommandForm::SetAndSave : CommandForm::Set, record);
    if (result != kResultOk) return ModuleFailure(io, "Parameter setting error, " + Mnemonic(id), result);
  }
  return kExitOk;
}

int SendAt(const LinkOptions& options, const std::string& text, bool raw, Output io) {
  const bool escape = io.terminal && !raw;
  if (text.find('\r') != std::string::npos || text.size() > 1100) {
    io.err << "tarnwave-cli: the request must be one line of at most 1100 characters\n";
    return kExitUsage;
  }
  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  if (options.dongle) return SendAtOverDongle(link, text, escape, io);
  std::string request = text + "\r";
  if (!link.WriteText(request)) return ModuleFailure(io, "cannot send the request", kResultSendFailed);
  // Read until the reply terminator, for at most the socket receive time-out.
  std::string reply;
  char buffer[512];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(12288);
  while (reply.find("\r\n\r\n") == std::string::npos && reply.size() < 65536 &&
         std::chrono::steady_clock::now() < deadline) {
    std::size_t got = 0;
    if (!link.ReadText(buffer, got)) break;
    reply.append(buffer, got);
    if (got == 0 && reply.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // A module that echoes puts the request in front of its reply: removed as the console does.
  reply = RemoveEcho(std::move(reply), request);
  if (reply.empty()) return ModuleFailure(io, "no reply to " + text, kResultNoResponse);
  std::string shown = reply;
  if (shown.ends_with("\r\n\r\n")) shown.resize(shown.size() - 4);
  io.out << (escape ? EscapeForTerminal(shown) : shown) << "\n";
  if (reply.starts_with("+OK")) return kExitOk;
  CommandRequest classified;
  ClassifyReply(reply, 0, classified);
  return ModuleFailure(io, "the module refused " + text, classified.errorCode);
}

int RunAction(const LinkOptions& options, const std::string& action, Output io) {
  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  int result = kResultOk;
  if (action == "reset") {
    if (link.resetModule() != kResultOk) return ModuleFailure(io, "reset", kResultSendFailed);
    return kExitOk;
  }
  if (action == "factory") {
    if ((result = link.restoreFactory()) != kResultOk) return ModuleFailure(io, "RSTF", result);
    return kExitOk;
  }
  if (action == "flash") {
    if ((result = link.writeFlash()) != kResultOk) return ModuleFailure(io, "PMTF", result);
    return kExitOk;
  }
  auto printEntry = [&io](const ScanEntry& e) {
    io.out << Hex(e.bssid, 6) << "  ch " << std::setw(2) << int(e.channel) << "  "
           << (e.networkMode == 0 ? "infra " : "adhoc ") << (e.encryption ? "secured " : "open    ") << "-"
           << int(e.signal) << " dBm  " << ModuleTextToUtf8(e.ssid) << "\n";
  };
  if (action == "join") {
    ScanEntry joined;
    if ((result = link.joinNetwork(joined)) != kResultOk) return ModuleFailure(io, "WJOIN", result);
    printEntry(joined);
    return kExitOk;
  }
  if (action == "link") {
    LinkState state;
    if ((result = link.linkState(state)) != kResultOk) return ModuleFailure(io, "LKSTT", result);
    io.out << "Connected=" << state.connected << "\nIpAddr=" << state.IpAddr << "\nMask=" << state.Mask
           << "\nNetGate=" << state.NetGate << "\nDns=" << state.Dns << "\n";
    return kExitOk;
  }
  io.err << "tarnwave-cli: unknown action " << action << "\n";
  return kExitUsage;
}

}  // namespace tarnwave::cli
