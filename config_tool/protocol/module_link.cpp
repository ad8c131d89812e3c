#include "config_tool/protocol/module_link.h"

#include <algorithm>
#include <cstring>

#include "config_tool/links/serial_transport.h"
#include "config_tool/protocol/reply_codec.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/sync/event.h"

namespace tarnwave {

ModuleLink::ModuleLink(kit::Clock& clock) : m_clock(clock), m_worker(m_request, m_slot) {}

ModuleLink::~ModuleLink() {
  close();
  stopWorker();
}

int ModuleLink::openSerial(const std::string& portPath, const SerialSettings& settings) {
  close();
  auto transport = std::make_unique<SerialTransport>(m_clock);
  if (!transport->open(portPath, settings)) return kResultInvalidHandle;
  m_slot.replace(std::move(transport));
  return kResultOk;
}

int ModuleLink::openTransport(std::unique_ptr<ModuleTransport> transport) {
  close();
  if (!transport) return kResultInvalidHandle;
  m_slot.replace(std::move(transport));
  return kResultOk;
}

void ModuleLink::close() { m_slot.replace(nullptr); }

bool ModuleLink::isDongleMode() const { return m_slot.get() != nullptr && m_slot.get()->framing() == ReplyFraming::Dongle; }

ReplyFraming ModuleLink::framing() const {
  return m_slot.get() != nullptr ? m_slot.get()->framing() : ReplyFraming::Serial;
}

int ModuleLink::startWorker() {
  if (m_worker.running()) return kResultOk;
  if (!m_worker.start()) {
    close();
    return kResultWorkerSetupFailed;
  }
  return kResultOk;
}

void ModuleLink::stopWorker() { m_worker.stop(); }

void ModuleLink::changeSettings(const SerialSettings& settings) {
  if (ModuleTransport* transport = m_slot.get(); transport != nullptr && !isDongleMode())
    transport->changeSettings(settings);
}

void ModuleLink::prepare(int commandId, std::string_view argument, std::uint32_t timeout) {
  m_request.clearRequestPart();
  m_request.commandId = commandId;
  std::size_t length = std::min<std::size_t>(argument.size(), kArgumentCapacity - 1);
  std::memcpy(m_request.argument, argument.data(), length);
  m_request.argumentLength = static_cast<std::int32_t>(length);
  m_request.timeout = timeout;
}

bool ModuleLink::BuildRequest() {
  ModuleTransport* transport = m_slot.get();
  std::optional<std::string> text = BuildRequestText(m_request);
  if (transport == nullptr || !text) return false;
  return transport->sendRequest(*text);
}

int ModuleLink::RunCommand() {
  ModuleTransport* transport = m_slot.get();
  if (transport == nullptr || !transport->isOpen()) return kResultInvalidHandle;
  // Without a worker nobody would gather the reply: set-up failure, not silence.
  if (!m_worker.running()) return kResultWorkerSetupFailed;
  m_worker.beginCommand(m_request.timeout);
  if (!BuildRequest()) {
    m_worker.abandonCommand();
    return kResultSendFailed;
  }
  ReplyWait wait{m_worker.requestEvent(), m_worker.replyEvent(), m_request.timeout, [this] { return BuildRequest(); }};
  int result = transport->awaitReply(wait);
  if (result != kResultOk) {
    // Whatever comes later belongs to this command, never to the next one.
    m_worker.abandonCommand();
    return result;
  }
  return m_request.errorCode;
}

bool ModuleLink::WriteText(std::string_view text) {
  ModuleTransport* transport = m_slot.get();
  return transport != nullptr && transport->writeText(text);
}

bool ModuleLink::ReadText(std::span<char> buffer, std::size_t& got) {
  got = 0;
  ModuleTransport* transport = m_slot.get();
  return transport != nullptr && transport->readText(buffer, got);
}

int ModuleLink::runSimple(int commandId, std::string_view argument, std::uint32_t timeout) {
  prepare(commandId, argument, timeout);
  return RunCommand();
}

int ModuleLink::runForPayload(int commandId, std::string_view argument, std::uint32_t timeout) {
  int result = runSimple(commandId, argument, timeout);
  if (result == kResultOk && !m_request.hasPayload) return kResultUnexpectedReply;
  return result;
}

}  // namespace tarnwave
