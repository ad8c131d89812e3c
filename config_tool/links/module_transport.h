#pragma once

// ModuleTransport: what a module link carries, apart from the command logic.
//
// ModuleLink runs every command the same way and leaves the carrying to its current
// transport: SerialTransport for a module on a serial port; the radio dongle link
// plugs in here with its own transport (frames to the dongle device, the notify area
// as the reply source, the exchange frames). Calls come from the window thread,
// except gatherReply() and onRemoved(), which the reply worker makes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config_tool/protocol/reply_codec.h"

namespace kit {
class Event;
}

namespace tarnwave {

struct SerialSettings;

// A reply as the worker gathered it: the whole text and the reply length to store
// when the text carries a payload.
struct GatheredReply {
  std::string text;
  int replyLength = 0;
};

// What RunCommand needs to wait for a reply: the worker's request and reply events
// and a way to write the request again.
struct ReplyWait {
  kit::Event& requestEvent;
  kit::Event& replyEvent;
  std::uint32_t timeout;
  std::function<bool()> resendRequest;
};

class ModuleTransport {
 public:
  virtual ~ModuleTransport() = default;

  virtual ReplyFraming framing() const = 0;
  // False once the device behind the transport is gone (a pulled dongle): commands
  // then report "invalid handle!" until a new link is opened.
  virtual bool isOpen() const = 0;

  // Writes one request text (the write step of BuildRequest).
  virtual bool sendRequest(std::string_view text) = 0;
  // Writes a text without asking for a reply (WriteText).
  virtual bool writeText(std::string_view text) = 0;
  // Writes raw data behind a command (socket send, firmware block).
  virtual bool writeRaw(std::span<const std::byte> bytes) = 0;
  // One read of what the module sent (ReadText).
  virtual bool readText(std::span<char> buffer, std::size_t& got) = 0;

  // Waits for the reply to a request just written: 0 when the reply event came,
  // 201 when it did not, 204 when writing the request again failed.
  virtual int awaitReply(const ReplyWait& wait) = 0;

  // Reply worker, request event: gathers one reply. nullopt means no reply (the
  // command then runs out of time). shouldStop tells when to give up early.
  virtual std::optional<GatheredReply> gatherReply(std::uint32_t timeout, const std::function<bool()>& shouldStop) = 0;
  // Reply worker, remove event: false ends the worker.
  virtual bool onRemoved() { return true; }
  // Stops a gatherReply() that is blocked now (any thread).
  virtual void wake() {}

  // Framing around "RSTF" and "PMTF"; nothing to do on a serial line.
  virtual bool openExchange(int /*radioCommand*/) { return true; }
  virtual bool closeExchange() { return true; }

  // New line settings from the serial settings dialog; links without a line ignore them.
  virtual void changeSettings(const SerialSettings& /*settings*/) {}
};

}  // namespace tarnwave
