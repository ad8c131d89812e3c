#pragma once

// ModuleEngine: the command engine of the virtual serial-to-WiFi module.
//
// It takes one request text at a time ("AT+" mnemonic ["=" argument], without the
// carriage return) and answers with an EngineReply; framing (serial "\r\n\r\n" or
// radio frames) is the caller's business. Raw bytes that follow some replies
// (socket send data, firmware blocks) are handed in with receiveRaw().
//
// The module keeps its parameters twice: the running values and the flash. A set
// changes the running value; a set-and-save ("!") and "PMTF" also write the flash;
// "AT+Z" reloads the running values from the flash; "RSTF" restores the factory
// values in both. After a reset the echo is on and, when the update mode is not 0,
// the load programme runs instead of the main programme.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/module/engine_reply.h"
#include "sim/module/firmware_loader.h"
#include "sim/module/loopback_sockets.h"
#include "sim/module/parameter_rules.h"

namespace kitsim {

enum class Programme { Main, Load };

struct VirtualNetwork {
  std::string bssid;  // twelve hex digits
  int mode;           // 0 infrastructure, 1 ad-hoc
  int channel;
  int encryption;
  std::string ssid;
  int signal;  // magnitude in dBm
};

class ModuleEngine {
 public:
  // address: the module's six-byte MAC address.
  explicit ModuleEngine(std::array<std::uint8_t, 6> address);

  EngineReply handle(std::string_view request);
  // Takes raw bytes announced by the last reply's expectRaw.
  void receiveRaw(std::string_view bytes);

  bool echo() const { return m_echo; }
  Programme programme() const { return m_programme; }
  const ParameterValues& running() const { return m_running; }
  const ParameterValues& flash() const { return m_flash; }
  // Payload bytes of a firmware image received completely (empty otherwise).
  const std::string& receivedImage() const { return m_loader.receivedImage(); }
  int blocksAccepted() const { return m_loader.blocksAccepted(); }
  // The load programme's firmware transfer, with its fault knobs.
  FirmwareLoader& loader() { return m_loader; }
  std::vector<VirtualNetwork>& networks() { return m_networks; }

 private:
  EngineReply parameter(std::string_view mnemonic, bool hasArgument, std::string_view argument);
  EngineReply reset();
  EngineReply scan() const;
  EngineReply join();
  EngineReply linkState() const;
  EngineReply createSocket(std::string_view argument);
  EngineReply sendOnSocket(std::string_view argument);
  EngineReply receiveFromSocket(std::string_view argument);
  EngineReply socketStates(std::string_view argument);
  EngineReply updateMode(std::string_view argument);
  EngineReply updateBlock(std::string_view argument);

  std::array<std::uint8_t, 6> m_address;
  ParameterValues m_running;
  ParameterValues m_flash;
  bool m_echo = true;
  Programme m_programme = Programme::Main;
  int m_updateMode = 0;
  int m_ioValue = 0;
  std::vector<VirtualNetwork> m_networks;
  int m_joined = -1;  // index into m_networks
  LoopbackSockets m_sockets;

  enum class RawTarget { None, Socket, Block };
  RawTarget m_rawTarget = RawTarget::None;
  int m_rawSocket = 0;
  std::size_t m_rawExpected = 0;
  std::string m_rawBuffer;

  FirmwareLoader m_loader;
};

}  // namespace kitsim
