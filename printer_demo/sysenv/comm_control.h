#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "printer_demo/core/byte_sink.h"
#include "printer_demo/sysenv/dos_device_table.h"
#include "printer_demo/sysenv/serial_line.h"

namespace j57 {

// The serial communications control of the demo's first window: the properties the
// demo uses, over a serial line. Property setters return an error text where the
// control refuses the value or the device fails; the property then keeps its value.
// Nothing is ever read from the port.
class CommControl final : public ByteSink {
 public:
  CommControl(const DosDeviceTable& devices, SerialLineOpener opener);

  // Port number 1..16; refused while the port is open. 0 is stored but cannot be opened.
  std::optional<std::string> setCommPort(int number);
  int CommPort() const { return m_commPort; }

  // "baud,parity,data,stop", e.g. "9600,N,8,1"; applied at once while open.
  std::optional<std::string> setSettings(std::string_view settings);
  const std::string& Settings() const { return m_settings; }

  // Opens or closes the device of CommPort with Settings.
  std::optional<std::string> setPortOpen(bool open);
  bool PortOpen() const { return m_line != nullptr; }
  // Closing cannot fail: the same as setPortOpen(false).
  void closePort();
  // The device path of the open port (empty while closed).
  const std::string& devicePath() const { return m_devicePath; }

  // Sends bytes; blocks until the device took them (1024-byte output buffer).
  std::optional<std::string> setOutput(std::span<const std::uint8_t> bytes);

  // Buffer sizes are refused while the port is open.
  std::optional<std::string> setOutBufferSize(int bytes);
  int OutBufferSize() const { return m_outBufferSize; }
  std::optional<std::string> setInBufferSize(int bytes);
  int InBufferSize() const { return m_inBufferSize; }
  std::optional<std::string> setRThreshold(int count);
  int RThreshold() const { return m_rThreshold; }
  std::optional<std::string> setSThreshold(int count);
  int SThreshold() const { return m_sThreshold; }
  std::optional<std::string> setInputLen(int count);
  int InputLen() const { return m_inputLen; }
  // Only 0 is taken: it empties the buffer.
  std::optional<std::string> setOutBufferCount(int count);
  std::optional<std::string> setInBufferCount(int count);

  std::optional<std::string> write(std::span<const std::uint8_t> bytes) override { return setOutput(bytes); }

  // Parses a Settings text; nullopt when it is not valid.
  static std::optional<LineSettings> ParseSettings(std::string_view settings);

 private:
  std::optional<std::string> refuseWhileOpen(const char* property) const;

  const DosDeviceTable& m_devices;
  SerialLineOpener m_opener;
  std::unique_ptr<SerialLine> m_line;
  std::string m_devicePath;
  int m_commPort = 1;
  std::string m_settings = "9600,n,8,1";
  LineSettings m_lineSettings;
  int m_outBufferSize = 512;
  int m_inBufferSize = 1024;
  int m_rThreshold = 0;
  int m_sThreshold = 0;
  int m_inputLen = 0;
};

}  // namespace j57
