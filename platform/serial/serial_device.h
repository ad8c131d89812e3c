#pragma once

// SerialDevice: one open serial port on Linux (termios).
//
// - open() takes a device path (symbolic links such as /dev/serial/by-id/... are
//   resolved first) and opens it exclusively: O_CLOEXEC, TIOCEXCL, and an flock()
//   lock, since root ignores TIOCEXCL. The line is put in raw mode at once.
// - read() and write() block at most for the time-outs set with setTimeouts();
//   a read that runs out of time returns Ok with what arrived (possibly nothing).
// - A hang-up (read returning 0, EIO, POLLHUP) is reported as DeviceGone, never as
//   "no data".
// - wake() may be called from any thread; it makes a read that is blocked now (or
//   the next read, if none is blocked) return Woken at once.
// - All calls except wake() belong to one thread at a time; the owner serialises
//   them (the module link does: one command outstanding).

#include <atomic>
#include <cstddef>
#include <span>
#include <string>

#include "platform/serial/serial_error.h"
#include "platform/serial/serial_settings.h"

namespace kit {

// The modem control lines of an open port. The system's lines go through TIOCMBIC;
// tests hand in their own to see what the device asks for, since pseudo-terminals
// have no modem lines.
class ModemLines {
 public:
  virtual ~ModemLines() = default;
  // Lowers the lines in mask (TIOCM_* bits) on the open descriptor: 0, or the errno.
  virtual int lower(int fd, int mask);
  static ModemLines& system();
};

class SerialDevice {
 public:
  explicit SerialDevice(ModemLines& lines = ModemLines::system());
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // Opens the port at path and sets raw 8N1 at 115200 baud. Busy when another
  // handle holds it, NotFound when nothing is there, Unsupported when the path is
  // not a terminal.
  SerialError open(const std::string& path);
  void close();
  bool isOpen() const { return m_fd >= 0; }

  // Resolved device path of the open port (empty when closed).
  const std::string& path() const { return m_path; }
  // errno of the last OsFailure (or of the failure behind another error), 0 if none.
  int lastErrno() const { return m_errno.load(); }

  // Applies the line settings and lowers RTS (Linux raises RTS and DTR on open; the
  // modules take no RTS line control; DTR stays as it is). InvalidArgument for a baud
  // rate or data-bit count the line cannot take; the previous settings then stay in
  // force. A port without modem lines (a pseudo-terminal) is no failure.
  SerialError configure(const SerialLineSettings& settings);
  SerialError setTimeouts(const SerialTimeouts& timeouts);
  const SerialTimeouts& timeouts() const { return m_timeouts; }

  // Reads up to buffer.size() bytes; got receives the number read (also on errors).
  SerialError read(std::span<std::byte> buffer, std::size_t& got);
  // Writes the bytes; written receives the number written. Timeout when the write
  // time-out ran out before everything was written.
  SerialError write(std::span<const std::byte> bytes, std::size_t& written);

  // Drops what is queued in the given direction(s).
  SerialError purge(SerialPurge which);
  // The Linux line keeps no sticky error state; this only checks the port is open.
  SerialError clearErrors();

  // Bytes received and not read yet (0 when closed).
  std::size_t queuedInput() const;

  // Stops a blocked read (thread-safe).
  void wake();

 private:
  SerialError fail(SerialError error, int err);

  ModemLines& m_lines;
  int m_fd = -1;
  int m_wakeFd = -1;
  std::atomic<int> m_errno{0};  // a read on one thread may fail while another writes
  std::string m_path;
  SerialTimeouts m_timeouts;
};

}  // namespace kit
