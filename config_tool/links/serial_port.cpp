#include "config_tool/links/serial_port.h"

#include <cerrno>
#include <cstdio>
#include <sstream>

#include "platform/serial/port_list.h"
#include "platform/text/number_reader.h"

namespace tarnwave {

std::string SerialSettingsText(const SerialSettings& s) {
  static constexpr char kParity[] = {'N', 'O', 'E'};
  char parity = s.parityIndex >= 0 && s.parityIndex <= 2 ? kParity[s.parityIndex] : 'N';
  char text[96];
  std::snprintf(text, sizeof text, "baud=%d parity=%c data=%d stop=%d", s.baudRate, parity, 8 - s.dataBitsIndex,
                s.stopBitsIndex + 1);
  return text;
}

std::optional<kit::SerialLineSettings> ApplySerialSettingsText(std::string_view text, kit::SerialLineSettings base) {
  std::istringstream in{std::string(text)};
  std::string item;
  while (in >> item) {
    std::size_t equals = item.find('=');
    if (equals == std::string::npos || equals + 1 >= item.size()) return std::nullopt;
    std::string name = item.substr(0, equals), value = item.substr(equals + 1);
    if (name == "parity") {
      if (value.size() != 1) return std::nullopt;
      switch (value[0]) {
        case 'N': case 'n': base.parity = kit::SerialParity::None; break;
        case 'O': case 'o': base.parity = kit::SerialParity::Odd; break;
        case 'E': case 'e': base.parity = kit::SerialParity::Even; break;
        default: return std::nullopt;
      }
      continue;
    }
    if (value.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    int number = kit::ReadLeadingInt(value);
    if (name == "baud") base.baudRate = number;
    else if (name == "data") base.dataBits = number;
    else if (name == "stop") base.stopBits = number;
    else return std::nullopt;
  }
  return base;
}

std::string WindowsPortPath(std::string_view name) {
  if (name.size() > 4) return "\\\\.\\" + std::string(name);
  return std::string(name);
}

int SerialPort::EnumeratePorts(std::string& text) {
  int count = 0;
  for (const std::string& port : kit::ListSerialPorts()) {
    text += port;
    text += ';';
    ++count;
  }
  return count;
}

bool SerialPort::OpenPort(const std::string& name, const SerialSettings& settings) {
  if (m_device.isOpen()) m_device.close();
  // Linux port names are device paths; the Windows prefix rule has no part here.
  if (m_device.open(name) != kit::SerialError::Ok) return false;
  (void)ConfigurePort(settings);
  return true;
}

ConfigureResult SerialPort::ConfigurePort(const SerialSettings& settings) {
  if (!m_device.isOpen()) return {false, EBADF};
  if (m_device.setTimeouts(kPortTimeouts) != kit::SerialError::Ok) return {false, m_device.lastErrno()};
  // The current settings are the base; the settings text overrides what it names.
  std::optional<kit::SerialLineSettings> line = ApplySerialSettingsText(SerialSettingsText(settings), {});
  if (!line) return {false, EINVAL};
  if (kit::SerialError error = m_device.configure(*line); error != kit::SerialError::Ok)
    return {false, m_device.lastErrno() != 0 ? m_device.lastErrno() : EINVAL};
  PurgePort();
  return {true, 0};
}

bool SerialPort::ReadPort(std::span<std::byte> buffer, std::size_t& got) {
  got = 0;
  (void)m_device.clearErrors();
  kit::SerialError error = m_device.read(buffer, got);
  m_lastError.store(error);
  // A woken read is an empty read: the caller looks at its stop condition next.
  return error == kit::SerialError::Ok || error == kit::SerialError::Woken;
}

bool SerialPort::WritePort(std::span<const std::byte> bytes, std::size_t& written) {
  written = 0;
  (void)m_device.clearErrors();
  // Stale input goes before every request. The output queue is left alone: it may
  // still hold raw data written just before (a socket send, a firmware block), and
  // clearing it would lose those bytes on a slow line.
  (void)m_device.purge(kit::SerialPurge::Input);
  kit::SerialError error = m_device.write(bytes, written);
  m_lastError.store(error);
  return error == kit::SerialError::Ok && (written > 0 || bytes.empty());
}

void SerialPort::PurgePort() { (void)m_device.purge(kit::SerialPurge::Both); }

void SerialPort::ClosePort() { m_device.close(); }

}  // namespace tarnwave
