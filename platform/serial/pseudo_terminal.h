#pragma once

// PseudoTerminal: the device side of a virtual serial port.
//
// The kit's virtual hardware serves a pseudo-terminal: programs open the port path
// (the terminal side, e.g. /dev/pts/7) like any serial port, and the simulator reads
// and writes the other side through this class. The class keeps one handle of the
// terminal side open itself, so the port stays usable while no program has it open,
// and puts the line in raw mode so that no byte is translated.

#include <chrono>
#include <cstddef>
#include <span>
#include <string>

#include "platform/serial/serial_error.h"

namespace kit {

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  SerialError open();
  void close();
  bool isOpen() const { return m_master >= 0; }

  // Path that programs open as the serial port.
  const std::string& portPath() const { return m_portPath; }
  int lastErrno() const { return m_errno; }

  // Waits up to timeout for bytes from the program side; got may be 0 on time-out.
  // A negative timeout waits until something arrives or wake() is called (Woken).
  SerialError read(std::span<std::byte> buffer, std::size_t& got, std::chrono::milliseconds timeout);
  // Writes everything towards the program side.
  SerialError write(std::span<const std::byte> bytes);
  SerialError write(std::string_view text);
  // Stops a blocked read (thread-safe).
  void wake();

 private:
  int m_master = -1;
  int m_slave = -1;
  int m_wakeFd = -1;
  int m_errno = 0;
  std::string m_portPath;
};

}  // namespace kit
