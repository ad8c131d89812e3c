#pragma once

// SerialPort: the configuration tool's layer over one serial port, with the fixed
// time-outs the reply gathering relies on:
//   read: 10 ms between bytes, 1 ms per byte plus 10 ms in all;
//   write: 1 ms per byte plus 1 ms.
// Queue sizes (2048 bytes each) are the kernel's business on Linux; RTS line control
// and CTS flow control are always off.

#include <atomic>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/serial/serial_device.h"

namespace tarnwave {

// Port settings as the serial settings dialog hands them over.
struct SerialSettings {
  int baudRate = 115200;   // 115200, 57600, 38400, 19200, 9600, 4800, 2400 or 1200
  int dataBitsIndex = 0;   // 0: 8 data bits, 1: 7
  int stopBitsIndex = 0;   // 0: 1 stop bit, 1: 2
  int parityIndex = 0;     // 0 N, 1 O, 2 E
};

inline constexpr kit::SerialTimeouts kPortTimeouts{10, 1, 10, 1, 1};
inline constexpr std::size_t kPortQueueSize = 2048;

// "baud=%d parity=%c data=%d stop=%d" of the settings.
std::string SerialSettingsText(const SerialSettings& settings);
// Line settings from a settings text, on top of base. nullopt when a field is
// missing or malformed.
std::optional<kit::SerialLineSettings> ApplySerialSettingsText(std::string_view text, kit::SerialLineSettings base);
// Windows device naming: names longer than four characters (COM10 upward) get the
// "\\.\" prefix; shorter ones stay as they are.
std::string WindowsPortPath(std::string_view name);

struct ConfigureResult {
  bool ok = false;
  int systemError = 0;  // errno of the failed apply
};

class SerialPort {
 public:
  // Appends every port name followed by ";" to text; returns the number of ports.
  static int EnumeratePorts(std::string& text);

  // Opens the device path exclusively and configures it (a failed configuration
  // does not undo the open). False when the port cannot be opened.
  bool OpenPort(const std::string& name, const SerialSettings& settings);
  ConfigureResult ConfigurePort(const SerialSettings& settings);
  // Clears the error state, then one read of at most buffer.size() bytes that
  // returns after the read time-outs with whatever arrived.
  bool ReadPort(std::span<std::byte> buffer, std::size_t& got);
  // Clears the error state, drops stale input, writes everything.
  bool WritePort(std::span<const std::byte> bytes, std::size_t& written);
  void PurgePort();
  void ClosePort();

  bool isOpen() const { return m_device.isOpen(); }
  // The service's verdict on the last read or write (DeviceGone after a hang-up).
  kit::SerialError lastError() const { return m_lastError.load(); }
  // Makes a read blocked in another thread return at once.
  void wake() { m_device.wake(); }
  kit::SerialDevice& device() { return m_device; }

 private:
  kit::SerialDevice m_device;
  // The reply worker reads while the window thread may write: both set this.
  std::atomic<kit::SerialError> m_lastError{kit::SerialError::Ok};
};

}  // namespace tarnwave
