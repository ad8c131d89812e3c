#pragma once
// SerialFaultRelay: a serial line with a fault on it, for sweeps in tests.
//
// The relay serves a pseudo-terminal of its own (portPath(), which the program under test
// opens as its serial port) and forwards every byte to and from a device's port (a
// virtual module's pseudo-terminal). An armed fault hits one byte position of one
// direction, counted from the moment it was armed: the byte is dropped, sent twice,
// sent with its bits inverted, or the line hangs up there (the program's side of the
// line goes away, as when a USB serial adapter is pulled). After a hang-up, replug()
// gives the program a fresh line to reopen.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/serial/pseudo_terminal.h"
#include "platform/serial/serial_device.h"

namespace kit::test {

enum class LineFault { None, Drop, Duplicate, Corrupt, HangUp };
enum class LineDirection { ToDevice, FromDevice };

struct LineFaultPlan {
  LineFault fault = LineFault::None;
  LineDirection direction = LineDirection::ToDevice;
  std::size_t position = 0;  // index of the byte hit, from when the plan was armed
};

class SerialFaultRelay {
 public:
  explicit SerialFaultRelay(std::string devicePortPath);
  ~SerialFaultRelay();
  SerialFaultRelay(const SerialFaultRelay&) = delete;
  SerialFaultRelay& operator=(const SerialFaultRelay&) = delete;

  // Opens both sides and starts forwarding; false when a side cannot be opened.
  bool start();
  void stop();
  // The port the program opens; changes with replug().
  std::string portPath() const;

  // Arms one fault; the byte counts of both directions start again from 0.
  void arm(LineFaultPlan plan);
  bool fired() const { return m_fired.load(); }
  // Bytes forwarded in each direction since the last arm().
  std::size_t count(LineDirection direction) const;
  // A new program-side line after a hang-up (or at any time): the old one goes away.
  bool replug();

 private:
  // One thread does all the forwarding, so the line is only ever opened, read, written
  // and closed there; replug() asks it for a new line and waits.
  void run();
  void forward(kit::PseudoTerminal& line);
  // Applies the plan to one byte; returns the bytes to send for it (0, 1 or 2).
  std::string pass(LineDirection direction, char byte, bool& hangUp);

  const std::string m_devicePath;
  kit::SerialDevice m_device;
  mutable std::mutex m_mutex;  // guards everything below
  std::condition_variable m_changed;
  std::string m_linePath;
  LineFaultPlan m_plan;
  std::size_t m_counts[2] = {0, 0};
  bool m_replugRequested = false;
  std::atomic<bool> m_fired{false};
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace kit::test
