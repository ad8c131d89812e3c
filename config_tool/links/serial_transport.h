#pragma once

// SerialTransport: a module cabled to a serial port. Requests and raw data are
// single port writes; the reply worker gathers replies with GatherSerialReply.

#include <memory>
#include <string>

#include "config_tool/links/module_transport.h"
#include "config_tool/links/serial_port.h"
#include "platform/sync/clock.h"

namespace tarnwave {

class SerialTransport final : public ModuleTransport {
 public:
  explicit SerialTransport(kit::Clock& clock);

  // Opens and configures the port; false when it cannot be opened.
  bool open(const std::string& portPath, const SerialSettings& settings);
  SerialPort& port() { return m_port; }

  ReplyFraming framing() const override { return ReplyFraming::Serial; }
  bool isOpen() const override { return m_port.isOpen(); }
  bool sendRequest(std::string_view text) override;
  bool writeText(std::string_view text) override;
  bool writeRaw(std::span<const std::byte> bytes) override;
  bool readText(std::span<char> buffer, std::size_t& got) override;
  int awaitReply(const ReplyWait& wait) override;
  std::optional<GatheredReply> gatherReply(std::uint32_t timeout, const std::function<bool()>& shouldStop) override;
  void wake() override { m_port.wake(); }
  void changeSettings(const SerialSettings& settings) override;

 private:
  kit::Clock& m_clock;
  SerialPort m_port;
};

}  // namespace tarnwave
