// The network, socket and management operations of ModuleLink.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "config_tool/links/serial_reply_gatherer.h"
#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/network_codec.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/sync/event.h"
#include "platform/text/number_reader.h"

namespace tarnwave {
namespace {

std::string Decimals(std::initializer_list<long> values) {
  std::string text;
  for (long value : values) {
    if (!text.empty()) text += ',';
    text += std::to_string(value);
  }
  return text;
}

}  // namespace

int ModuleLink::joinNetwork(ScanEntry& joined) {
  joined = ScanEntry{};
  int result = runForPayload(command::WJOIN, "", 10000);
  if (result != kResultOk) return result;
  std::vector<std::string> lines = SplitReplyLines(m_request, framing(), 1);
  if (!lines.empty()) joined = ParseScanLine(lines.front());
  return joined.channel != 0 ? kResultOk : kResultUnexpectedReply;
}

int ModuleLink::leaveNetwork() { return runSimple(command::WLEAV, "", 3000); }

int ModuleLink::startScan() {
  if (!isOpen()) return kResultInvalidHandle;
  prepare(command::WSCAN, "", 10000);
  // Over the dongle the reply may come (and be gathered) before collectScan runs.
  if (m_worker.running()) m_worker.beginCommand(m_request.timeout);
  if (BuildRequest()) return kResultOk;
  if (m_worker.running()) m_worker.abandonCommand();
  return 1;
}

int ModuleLink::collectScan(std::vector<ScanEntry>& entries) {
  entries.clear();
  if (!isOpen()) return kResultInvalidHandle;
  if (!m_worker.running()) return kResultWorkerSetupFailed;
  // On a serial line the worker reads once it is asked to. Over the dongle the
  // request event is the driver's read event: signalling it would stop the driver's
  // receive loop and lose a reply that is still on its way, so only the reply is
  // awaited there.
  if (!isDongleMode()) m_worker.requestEvent().set();
  if (!m_worker.replyEvent().wait(std::chrono::milliseconds(m_request.timeout))) {
    m_worker.abandonCommand();
    return kResultOk;
  }
  // Only a good reply carries networks; any error leaves the last payload stale.
  if (m_request.errorCode != 0) return kResultOk;
  if (!m_request.hasPayload) return kResultUnexpectedReply;
  entries = DecodeScanReply(m_request, framing());
  return kResultOk;
}

int ModuleLink::createSocket(SocketSetup& setup) {
  std::string argument;
  if (setup.CsMode != 0) {
    argument = Decimals({setup.Protocol, setup.CsMode, setup.connectTimeout, setup.Port});
  } else {
    argument = Decimals({setup.Protocol, setup.CsMode}) + "," +
               std::string(setup.serverAddress, strnlen(setup.serverAddress, sizeof setup.serverAddress)) + "," +
               std::to_string(setup.Port);
  }
  int result = runForPayload(command::SKCT, argument, 3000);
  if (result != kResultOk) return result;
  ReplyFieldReader reader(m_request, framing());
  auto number = reader.last();
  setup.Protocol = number ? kit::ReadLeadingInt(*number) : 0;
  return kResultOk;
}

int ModuleLink::sendOnSocket(int socket, std::span<const std::byte> data, std::size_t& sent) {
  sent = 0;
  int result = runForPayload(command::SKSND, Decimals({socket, static_cast<long>(data.size())}), 3000);
  if (result != kResultOk) return result;
  ReplyFieldReader reader(m_request, framing());
  auto accepted = reader.last();
  long count = accepted ? kit::ReadLeadingLong(*accepted) : 0;
  count = std::clamp<long>(count, 0, static_cast<long>(std::min<std::size_t>(data.size(), kArgumentCapacity)));
  if (count == 0) return kResultOk;
  if (!m_slot.get()->writeRaw(data.first(static_cast<std::size_t>(count)))) return kResultRawDataFailed;
  sent = static_cast<std::size_t>(count);
  return kResultOk;
}

int ModuleLink::receiveFromSocket(int socket, int count, std::vector<std::byte>& data) {
  data.clear();
  int result = runForPayload(command::SKRCV, Decimals({socket, count}), kSocketReceiveTimeout);
  if (result != kResultOk) return result;
  const std::size_t length = static_cast<std::size_t>(
      std::clamp(std::min(m_request.replyLength, m_request.payloadLength), 0, kReplyCapacity));
  std::optional<std::string> value;
  std::size_t countEnd = 4;  // serial: the count ends with "\r\n\r\n"
  if (isDongleMode()) {
    // Over the dongle the frame's terminator comes only after the data, so the count
    // ends at its first line end ("\n\n").
    std::string_view payload(m_request.replyText, length);
    if (std::size_t newline = payload.find('\n'); newline != std::string_view::npos)
      value = std::string(payload.substr(0, newline));
    countEnd = 2;
  } else {
    ReplyFieldReader reader(m_request, framing());
    value = reader.last();
  }
  if (!value) return kResultOk;
  const std::size_t wanted = static_cast<std::size_t>(std::clamp(kit::ReadLeadingInt(*value), 0, count < 0 ? 0 : count));
  // The data follow the count and the characters that end it.
  const std::size_t start = value->size() + countEnd;
  if (start < length) {
    const auto* bytes = reinterpret_cast<const std::byte*>(m_request.replyText);
    data.assign(bytes + start, bytes + start + std::min(length - start, wanted));
  }
  if (isDongleMode()) return data.size() < wanted ? kResultRawDataFailed : kResultOk;
  for (int read = 0; read < 30 && data.size() < wanted; ++read) {
    std::vector<char> missing(wanted - data.size());
    std::size_t got = 0;
    if (ReadText(missing, got) && got > 0) {
      const auto* bytes = reinterpret_cast<const std::byte*>(missing.data());
      data.insert(data.end(), bytes, bytes + got);
    }
    if (data.size() < wanted) m_clock.sleep(std::chrono::milliseconds(100));
  }
  return data.size() < wanted ? kResultRawDataFailed : kResultOk;
}

int ModuleLink::socketStates(int socket, std::vector<SocketState>& states) {
  states.clear();
  int result = runForPayload(command::SKSTT, std::to_string(socket), 3000);
  if (result != kResultOk) return result;
  states = DecodeSocketStates(m_request, framing());
  return kResultOk;
}

int ModuleLink::closeSocket(int socket) { return runSimple(command::SKCLS, std::to_string(socket), 3000); }

int ModuleLink::attention() { return runSimple(command::Attention, "", 3000); }

int ModuleLink::resetModule() { return WriteText("AT+Z\r") ? kResultOk : 1; }

int ModuleLink::echoSwitch() { return runSimple(command::E, "", 3000); }
int ModuleLink::enterEnts() { return runSimple(command::ENTS, "", 3000); }
int ModuleLink::enterEntm() { return runSimple(command::ENTM, "", 3000); }

int ModuleLink::runExchange(int commandId, int radioCommand) {
  ModuleTransport* transport = m_slot.get();
  if (transport == nullptr || !transport->openExchange(radioCommand)) return kResultInvalidHandle;
  int result = runSimple(commandId, "", 3000);
  if (!transport->closeExchange() && result == kResultOk) return kResultInvalidHandle;
  return result;
}

int ModuleLink::restoreFactory() { return runExchange(command::RSTF, 252); }
int ModuleLink::writeFlash() { return runExchange(command::PMTF, 250); }

int ModuleLink::ioValue(CommandForm form, int& value) {
  bool query = form == CommandForm::Query;
  int result = query ? runForPayload(command::IOC, "?", 3000) : runSimple(command::IOC, std::to_string(value), 3000);
  if (result != kResultOk || !query) return result;
  ReplyFieldReader reader(m_request, framing());
  auto text = reader.last();
  value = text ? kit::ReadLeadingInt(*text) : 0;
  return kResultOk;
}

int ModuleLink::moduleAddress(std::uint8_t (&address)[6]) {
  int result = runForPayload(command::QMAC, "?", 3000);
  if (result != kResultOk) return result;
  DecodeModuleAddress(m_request, framing(), address);
  return kResultOk;
}

int ModuleLink::firmwareVersion(std::string& version) {
  version.clear();
  int result = runForPayload(command::QVER, "?", 3000);
  if (result != kResultOk) return result;
  // The version text is taken whole, commas included.
  ExtractedValue value = ExtractValue(std::string_view(m_request.replyText, kReplyCapacity), m_request.replyLength - 1,
                                      framing());
  if (!value.wrong) version = value.value;
  return kResultOk;
}

int ModuleLink::firmwareKind(int& kind) {
  kind = 0;
  std::string version;
  int result = firmwareVersion(version);
  if (result == kResultOk) kind = FirmwareKind(version);
  return result;
}

int ModuleLink::linkState(LinkState& state) {
  state = LinkState{};
  int result = runForPayload(command::LKSTT, "?", 3000);
  if (result != kResultOk) return result;
  DecodeLinkState(m_request, framing(), state);
  return kResultOk;
}

int ModuleLink::updateMode(CommandForm form, int& value) {
  std::string argument = form == CommandForm::Query        ? "?"
                         : form == CommandForm::SetAndSave ? "!" + std::to_string(value)
                                                           : std::to_string(value);
  int result = form == CommandForm::Query ? runForPayload(command::UPDM, argument, 3000)
                                          : runSimple(command::UPDM, argument, 3000);
  if (result != kResultOk || form != CommandForm::Query) return result;
  ReplyFieldReader reader(m_request, framing());
  auto text = reader.last();
  value = text ? kit::ReadLeadingInt(*text) : 0;
  return kResultOk;
}

int ModuleLink::firmwareBlock(std::span<const std::byte, kUpdateBlockSize> block) {
  int result = runSimple(command::UPDD, std::to_string(kUpdateBlockSize), 2000);
  if (result != kResultOk) return result;
  return m_slot.get()->writeRaw(block) ? kResultOk : kResultRawDataFailed;
}

}  // namespace tarnwave
