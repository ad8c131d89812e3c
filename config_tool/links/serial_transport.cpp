#include "config_tool/links/serial_transport.h"

#include <chrono>

#include "config_tool/links/serial_reply_gatherer.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/sync/event.h"

namespace tarnwave {

SerialTransport::SerialTransport(kit::Clock& clock) : m_clock(clock) {}

bool SerialTransport::open(const std::string& portPath, const SerialSettings& settings) {
  return m_port.OpenPort(portPath, settings);
}

bool SerialTransport::sendRequest(std::string_view text) { return writeText(text); }

bool SerialTransport::writeText(std::string_view text) {
  return writeRaw(std::as_bytes(std::span<const char>(text.data(), text.size())));
}

bool SerialTransport::writeRaw(std::span<const std::byte> bytes) {
  std::size_t written = 0;
  return m_port.WritePort(bytes, written) && written == bytes.size();
}

bool SerialTransport::readText(std::span<char> buffer, std::size_t& got) {
  return m_port.ReadPort(std::as_writable_bytes(buffer), got);
}

int SerialTransport::awaitReply(const ReplyWait& wait) {
  // The worker starts reading when the request event comes and answers with the
  // reply event; the whole time-out is one wait.
  wait.requestEvent.set();
  if (!wait.replyEvent.wait(std::chrono::milliseconds(wait.timeout))) return kResultNoResponse;
  return kResultOk;
}

std::optional<GatheredReply> SerialTransport::gatherReply(std::uint32_t timeout, const std::function<bool()>& shouldStop) {
  auto read = [this](std::span<std::byte> buffer, std::size_t& got) {
    bool ok = m_port.ReadPort(buffer, got);
    return ok ? GatherRead::Data : GatherRead::Gone;
  };
  std::optional<GatherOutcome> outcome = GatherSerialReply(timeout, read, m_clock, shouldStop);
  if (!outcome) return std::nullopt;
  // The payload after "+OK=" runs to the end of what arrived, terminator included.
  int replyLength = static_cast<int>(outcome->text.size()) - 4;
  return GatheredReply{std::move(outcome->text), replyLength};
}

void SerialTransport::changeSettings(const SerialSettings& settings) { (void)m_port.ConfigurePort(settings); }

}  // namespace tarnwave
