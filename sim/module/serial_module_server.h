#pragma once

// SerialModuleServer: one virtual module served on a pseudo-terminal. A thread reads
// what the program writes to the port, runs the module engine and writes the
// replies back in serial framing. Fault knobs make it misbehave for tests.

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/serial/pseudo_terminal.h"
#include "sim/module/module_engine.h"

namespace kitsim {

struct ModuleFaults {
  bool silent = false;        // answer nothing
  int delayMs = 0;            // wait this long before each reply
  bool garbage = false;       // answer bytes that are no reply
  bool split = false;         // write each reply in two parts, 50 ms apart
  bool noTerminator = false;  // leave "\r\n\r\n" off the end of each reply
  int paceBaud = 0;           // when not 0: replies take their wire time at this baud rate (8N1)
  int scanDelayMs = 0;        // a scan ("WSCAN") is answered this much later, as a busy radio would
  bool paceIncoming = false;  // with paceBaud: what the program writes takes its wire time too
};

class SerialModuleServer {
 public:
  SerialModuleServer(std::array<std::uint8_t, 6> address, ModuleFaults faults = {}, bool echo = true);
  ~SerialModuleServer();
  SerialModuleServer(const SerialModuleServer&) = delete;
  SerialModuleServer& operator=(const SerialModuleServer&) = delete;

  // Opens the pseudo-terminal and starts serving; false when no terminal could be made.
  bool start();
  void stop();
  const std::string& portPath() const { return m_pty.portPath(); }

  void setFaults(const ModuleFaults& faults);
  // Runs f on the engine while no request is being handled.
  void inspect(const std::function<void(ModuleEngine&)>& f);
  // Every request received so far, for tests.
  std::vector<std::string> requests();

 private:
  void serve();
  void answer(const std::string& request);

  kit::PseudoTerminal m_pty;
  std::mutex m_mutex;
  ModuleEngine m_engine;
  ModuleFaults m_faults;
  std::vector<std::string> m_requests;
  std::size_t m_pendingRaw = 0;
  std::thread m_thread;
};

// A module address that differs between processes and between modules of one process.
std::array<std::uint8_t, 6> VirtualModuleAddress(int index);

}  // namespace kitsim
