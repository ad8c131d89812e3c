#include "sim/module/module_engine.h"

#include <algorithm>
#include <cstdio>


namespace kitsim {
namespace {

constexpr std::size_t kMaxSocketChunk = 1024;

std::optional<long> Digits(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> pieces;
  for (;;) {
    std::size_t comma = text.find(',');
    pieces.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return pieces;
    text.remove_prefix(comma + 1);
  }
}

std::string Unquote(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return std::string(text);
}

}  // namespace

ModuleEngine::ModuleEngine(std::array<std::uint8_t, 6> address)
    : m_address(address), m_running(FactoryParameters()), m_flash(m_running) {
  m_networks = {
      {"0a1b2c3d4e01", 0, 6, 0, "KitNet", 42},
      {"0a1b2c3d4e02", 0, 1, 1, "Shop-Guest", 67},
      {"0a1b2c3d4e03", 1, 11, 1, "Backoffice", 80},
  };
}

EngineReply ModuleEngine::handle(std::string_view request) {
  if (m_loader.silent()) {
    EngineReply nothing;
    nothing.silent = true;
    return nothing;
  }
  if (!request.starts_with("AT+")) return EngineReply::Error(kErrNotAvailable);
  request.remove_prefix(3);
  std::size_t equals = request.find('=');
  const bool hasArgument = equals != std::string_view::npos;
  const std::string_view mnemonic = request.substr(0, equals);
  const std::string_view argument = hasArgument ? request.substr(equals + 1) : std::string_view{};

  if (IsParameterMnemonic(mnemonic)) return parameter(mnemonic, hasArgument, argument);
  if (mnemonic.empty()) return hasArgument ? EngineReply::Error(kErrBadOperator) : EngineReply::Ok();
  if (mnemonic == "Z") return reset();
  if (mnemonic == "E") {
    m_echo = !m_echo;
    return EngineReply::Ok();
  }
  if (mnemonic == "ENTS" || mnemonic == "ENTM") return EngineReply::Ok();
  if (mnemonic == "RSTF") {
    m_running = m_flash = FactoryParameters();
    return EngineReply::Ok();
  }
  if (mnemonic == "PMTF") {
    m_flash = m_running;
    return EngineReply::Ok();
  }
  if (mnemonic == "IOC") {
    if (argument == "?") return EngineReply::Value(std::to_string(m_ioValue));
    auto value = Digits(argument);
    if (!value) return EngineReply::Error(hasArgument && argument.starts_with('!') ? kErrBadOperator : kErrBadParameter);
    m_ioValue = static_cast<int>(*value);
    return EngineReply::Ok();
  }
  const bool query = argument == "?";
  if (mnemonic == "QMAC" || mnemonic == "QVER" || mnemonic == "LKSTT") {
    if (!query) return EngineReply::Error(kErrBadOperator);
    if (mnemonic == "QMAC") {
      char text[13];
      std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", m_address[0], m_address[1], m_address[2],
                    m_address[3], m_address[4], m_address[5]);
      return EngineReply::Value(text);
    }
    if (mnemonic == "QVER")
      return EngineReply::Value(m_programme == Programme::Main ? m_loader.mainVersion() : FirmwareLoader::loadVersion());
    return linkState();
  }
  if (mnemonic == "WSCAN") return scan();
  if (mnemonic == "WJOIN") return join();
  if (mnemonic == "WLEAV") {
    m_joined = -1;
    return EngineReply::Ok();
  }
  if (mnemonic == "SKCT") return createSocket(argument);
  if (mnemonic == "SKSND") return sendOnSocket(argument);
  if (mnemonic == "SKRCV") return receiveFromSocket(argument);
  if (mnemonic == "SKSTT") return socketStates(argument);
  if (mnemonic == "SKCLS") {
    auto number = Digits(argument);
    if (!number) return EngineReply::Error(kErrBadParameter);
    return m_sockets.close(static_cast<int>(*number)) ? EngineReply::Ok() : EngineReply::Error(kErrBadSocketNumber);
  }
  if (mnemonic == "&UPDM") return updateMode(argument);
  if (mnemonic == "&UPDD") return updateBlock(argument);
  return EngineReply::Error(kErrNotSupported);
}

EngineReply ModuleEngine::parameter(std::string_view mnemonic, bool hasArgument, std::string_view argument) {
  if (!hasArgument) return EngineReply::Error(kErrBadOperator);
  if (argument == "?") return EngineReply::Value(m_running.find(mnemonic)->second);
  const bool save = argument.starts_with('!');
  if (save) argument.remove_prefix(1);
  std::optional<std::string> value = CheckParameter(mnemonic, argument);
  if (!value) return EngineReply::Error(kErrBadParameter);
  m_running[std::string(mnemonic)] = *value;
  if (save) m_flash[std::string(mnemonic)] = *value;
  return EngineReply::Ok();
}

EngineReply ModuleEngine::reset() {
  m_running = m_flash;
  m_joined = -1;
  m_sockets.closeAll();
  m_rawTarget = RawTarget::None;
  m_programme = m_updateMode != 0 && !m_loader.faults().noLoadProgramme ? Programme::Load : Programme::Main;
  // The main programme starts with its echo on; the load programme never echoes.
  m_echo = m_programme == Programme::Main;
  m_loader.restart();
  EngineReply reply;
  reply.silent = true;
  return reply;
}

EngineReply ModuleEngine::scan() const {
  EngineReply reply;
  reply.lines.emplace();
  for (const VirtualNetwork& n : m_networks)
    reply.lines->push_back(n.bssid + "," + std::to_string(n.mode) + "," + std::to_string(n.channel) + "," +
                           std::to_string(n.encryption) + ",\"" + n.ssid + "\"," + std::to_string(n.signal));
  if (reply.lines->empty()) reply.lines->push_back("000000000000,0,0,0,\"\",0");
  return reply;
}

EngineReply ModuleEngine::join() {
  const std::string ssid = Unquote(m_running.find("SSID")->second);
  for (std::size_t i = 0; i < m_networks.size(); ++i) {
    if (m_networks[i].ssid != ssid) continue;
    m_joined = static_cast<int>(i);
    EngineReply lines = scan();
    return EngineReply::Value((*lines.lines)[i]);
  }
  return EngineReply::Error(kErrNetworkFailure);
}

EngineReply ModuleEngine::linkState() const {
  if (m_joined < 0) return EngineReply::Value("0,\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\"");
  const std::string& nip = m_running.find("NIP")->second;
  if (nip == "0") return EngineReply::Value("1,\"192.168.6.23\",\"255.255.255.0\",\"192.168.6.1\",\"192.168.6.1\"");
  return EngineReply::Value("1" + nip.substr(1));  // "1," and the four quoted addresses
}

EngineReply ModuleEngine::createSocket(std::string_view argument) {
  std::vector<std::string_view> p = Split(argument);
  if (p.size() != 4) return EngineReply::Error(kErrBadParameter);
  auto protocol = Digits(p[0]), csMode = Digits(p[1]), port = Digits(p[3]);
  if (!protocol || !csMode || !port || *csMode > 1) return EngineReply::Error(kErrBadParameter);
  if (*csMode == 1 && !Digits(p[2])) return EngineReply::Error(kErrBadParameter);
  int number = m_sockets.create(static_cast<int>(*protocol), static_cast<int>(*csMode), std::string(p[2]),
                                static_cast<int>(*port));
  if (number < 0) return EngineReply::Error(-number);
  return EngineReply::Value(std::to_string(number));
}

EngineReply ModuleEngine::sendOnSocket(std::string_view argument) {
  std::vector<std::string_view> p = Split(argument);
  if (p.size() != 2) return EngineReply::Error(kErrBadParameter);
  auto number = Digits(p[0]), count = Digits(p[1]);
  if (!number || !count) return EngineReply::Error(kErrBadParameter);
  if (!m_sockets.status(static_cast<int>(*number))) return EngineReply::Error(kErrBadSocketNumber);
  std::size_t accepted = std::min<std::size_t>(static_cast<std::size_t>(*count), kMaxSocketChunk);
  EngineReply reply = EngineReply::Value(std::to_string(accepted));
  reply.expectRaw = accepted;
  m_rawTarget = RawTarget::Socket;
  m_rawSocket = static_cast<int>(*number);
  m_rawExpected = accepted;
  m_rawBuffer.clear();
  return reply;
}

EngineReply ModuleEngine::receiveFromSocket(std::string_view argument) {
  std::vector<std::string_view> p = Split(argument);
  if (p.size() != 2) return EngineReply::Error(kErrBadParameter);
  auto number = Digits(p[0]), count = Digits(p[1]);
  if (!number || !count) return EngineReply::Error(kErrBadParameter);
  std::optional<std::string> data =
      m_sockets.receive(static_cast<int>(*number), std::min<std::size_t>(static_cast<std::size_t>(*count), kMaxSocketChunk));
  if (!data) return EngineReply::Error(kErrBadSocketNumber);
  EngineReply reply = EngineReply::Value(std::to_string(data->size()));
  reply.trailingData = *data;
  return reply;
}

EngineReply ModuleEngine::socketStates(std::string_view argument) {
  auto number = Digits(argument);
  if (!number) return EngineReply::Error(kErrBadParameter);
  std::vector<int> numbers = *number == 0 ? m_sockets.numbers() : std::vector<int>{static_cast<int>(*number)};
  EngineReply reply;
  reply.lines.emplace();
  for (int n : numbers) {
    std::optional<SocketStatus> s = m_sockets.status(n);
    if (!s) return EngineReply::Error(kErrBadSocketNumber);
    reply.lines->push_back(std::to_string(s->number) + "," + std::to_string(s->status) + ",\"" + s->peer + "\"," +
                           std::to_string(s->port) + "," + std::to_string(s->waiting));
  }
  if (reply.lines->empty()) return EngineReply::Error(kErrNoSocket);
  return reply;
}

EngineReply ModuleEngine::updateMode(std::string_view argument) {
  if (argument == "?") return EngineReply::Value(std::to_string(m_updateMode));
  if (argument.starts_with('!')) argument.remove_prefix(1);
  auto mode = Digits(argument);
  if (!mode || *mode > 2) return EngineReply::Error(kErrBadParameter);
  m_updateMode = static_cast<int>(*mode);
  if (m_updateMode == 0 && m_programme == Programme::Load) m_loader.install();
  return EngineReply::Ok();
}

EngineReply ModuleEngine::updateBlock(std::string_view argument) {
  if (m_programme != Programme::Load) return EngineReply::Error(kErrNotAvailable);
  EngineReply reply = m_loader.command(argument);
  if (reply.expectRaw > 0) {
    m_rawTarget = RawTarget::Block;
    m_rawExpected = reply.expectRaw;
    m_rawBuffer.clear();
  }
  return reply;
}

void ModuleEngine::receiveRaw(std::string_view bytes) {
  if (m_rawTarget == RawTarget::None) return;
  std::size_t take = std::min(bytes.size(), m_rawExpected - m_rawBuffer.size());
  m_rawBuffer.append(bytes.substr(0, take));
  if (m_rawBuffer.size() < m_rawExpected) return;
  RawTarget target = m_rawTarget;
  m_rawTarget = RawTarget::None;
  if (target == RawTarget::Socket)
    (void)m_sockets.send(m_rawSocket, m_rawBuffer);
  else
    m_loader.takeBlock(m_rawBuffer);
  m_rawBuffer.clear();
}

}  // namespace kitsim
