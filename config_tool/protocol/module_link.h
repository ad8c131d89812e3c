#pragma once

// ModuleLink: the configuration tool's one link to a module, and one operation per
// module command.
//
// The link is a transport (a serial port here; the radio dongle plugs in through
// ModuleTransport) plus the reply worker. Every operation fills the CommandRequest,
// runs the command and decodes the reply; it returns a result code (0 success, the
// module's code after "+ERR=-", or 200, 201, 203, 204, 241, 255; see ErrorText).
// Operations run on the caller's thread and block for up to their time-out. At most
// one command is outstanding: operations must not be called concurrently.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config_tool/links/module_transport.h"
#include "config_tool/links/reply_worker.h"
#include "config_tool/links/serial_port.h"
#include "config_tool/links/transport_slot.h"
#include "config_tool/protocol/command_request.h"
#include "config_tool/protocol/network_records.h"
#include "config_tool/protocol/parameter_record.h"
#include "platform/sync/clock.h"

namespace tarnwave {

inline constexpr int kUpdateBlockSize = 528;

class ModuleLink {
 public:
  explicit ModuleLink(kit::Clock& clock = kit::SystemClock::instance());
  ~ModuleLink();
  ModuleLink(const ModuleLink&) = delete;
  ModuleLink& operator=(const ModuleLink&) = delete;

  // --- link and worker ---
  // Opens a serial port (any previous link is closed first): 0, or 203.
  int openSerial(const std::string& portPath, const SerialSettings& settings);
  // Puts another kind of transport in place (the dongle link): 0, or 203 for none.
  int openTransport(std::unique_ptr<ModuleTransport> transport);
  void close();
  bool isOpen() const { return m_slot.get() != nullptr && m_slot.get()->isOpen(); }
  bool isDongleMode() const;
  ModuleTransport* transport() { return m_slot.get(); }
  // Starts the reply worker: 0, or 200 after closing the link.
  int startWorker();
  void stopWorker();
  bool workerRunning() const { return m_worker.running(); }
  // The worker's events, for a transport that hands them to a device (the dongle
  // driver signals the request event as its read event and the remove event).
  ReplyWorker& worker() { return m_worker; }
  // New settings from the serial settings dialog; nothing happens in dongle mode.
  void changeSettings(const SerialSettings& settings);

  // --- request record and its execution ---
  CommandRequest& request() { return m_request; }
  // Prepares the request part: clears it, sets id, argument and time-out.
  void prepare(int commandId, std::string_view argument, std::uint32_t timeout);
  bool BuildRequest();
  // 0, the module's error code, 201, 203, 204, or 200 when the worker is not running.
  int RunCommand();
  bool WriteText(std::string_view text);
  bool ReadText(std::span<char> buffer, std::size_t& got);

  // --- parameters: one of the 23 parameter command ids ---
  // Query: the command's part of the record is cleared and filled from the reply.
  // Set and set-and-save: the record is the input ("WEBS" may change the port to 80).
  // An id that is no parameter command gives 255 without a request.
  int parameter(int commandId, CommandForm form, ModuleParameters& record);

  // --- network, socket and management ---
  int joinNetwork(ScanEntry& joined);
  int leaveNetwork();
  // Writes the scan request only: 0, 1 when the write fails, 203 without a link.
  int startScan();
  // Waits for the scan reply; the entries (0 to 50) land in entries.
  int collectScan(std::vector<ScanEntry>& entries);
  // On success the socket number replaces setup.Protocol.
  int createSocket(SocketSetup& setup);
  // Sends at most the count the module accepts (and never more than 1024 bytes).
  int sendOnSocket(int socket, std::span<const std::byte> data, std::size_t& sent);
  // Receives up to count bytes into data (cleared first).
  int receiveFromSocket(int socket, int count, std::vector<std::byte>& data);
  int socketStates(int socket, std::vector<SocketState>& states);
  int closeSocket(int socket);
  int attention();
  // Writes "AT+Z\r" without waiting: 0 when written, else 1.
  int resetModule();
  int echoSwitch();
  int enterEnts();
  int enterEntm();
  int restoreFactory();
  int writeFlash();
  // Query (value out) or set (value in); there is no set-and-save form.
  int ioValue(CommandForm form, int& value);
  int moduleAddress(std::uint8_t (&address)[6]);
  int firmwareVersion(std::string& version);
  // kind: 1 main programme, 2 load programme, 0 unknown.
  int firmwareKind(int& kind);
  int linkState(LinkState& state);
  int updateMode(CommandForm form, int& value);
  int firmwareBlock(std::span<const std::byte, kUpdateBlockSize> block);

 private:
  int runSimple(int commandId, std::string_view argument, std::uint32_t timeout);
  // As runSimple, for operations that decode the reply: a success without a payload
  // (a plain "+OK") gives 255, since the reply text still holds an older reply.
  int runForPayload(int commandId, std::string_view argument, std::uint32_t timeout);
  int runExchange(int commandId, int radioCommand);
  ReplyFraming framing() const;

  kit::Clock& m_clock;
  CommandRequest m_request;
  TransportSlot m_slot;
  ReplyWorker m_worker;
};

}  // namespace tarnwave
