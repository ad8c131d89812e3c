#include "printer_demo/sysenv/comm_control.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "printer_demo/core/number_text.h"

namespace j57 {
namespace {

constexpr std::array<long, 16> kBaudRates = {110,   300,   600,   1200,  2400,   4800,   9600,   14400,
                                             19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto comma = text.find(',');
    parts.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

}  // namespace

CommControl::CommControl(const DosDeviceTable& devices, SerialLineOpener opener)
    : m_devices(devices), m_opener(std::move(opener)) {
  m_lineSettings = *ParseSettings(m_settings);
}

std::optional<LineSettings> CommControl::ParseSettings(std::string_view settings) {
  const auto parts = SplitCommas(settings);
  if (parts.size() != 4) return std::nullopt;
  LineSettings line;
  const auto baud = ParseWholeNumber(parts[0], 1, 256000);
  if (!baud || std::find(kBaudRates.begin(), kBaudRates.end(), *baud) == kBaudRates.end()) return std::nullopt;
  line.baud = *baud;
  if (parts[1].size() != 1) return std::nullopt;
  const char parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0])));
  if (std::string_view("NEOMS").find(parity) == std::string_view::npos) return std::nullopt;
  line.parity = parity;
  const auto data = ParseWholeNumber(parts[2], 4, 8);
  if (!data) return std::nullopt;
  line.dataBits = static_cast<int>(*data);
  if (parts[3] == "1") line.stopBitsTimesTwo = 2;
  else if (parts[3] == "1.5") line.stopBitsTimesTwo = 3;
  else if (parts[3] == "2") line.stopBitsTimesTwo = 4;
  else return std::nullopt;
  return line;
}

std::optional<std::string> CommControl::refuseWhileOpen(const char* property) const {
  if (PortOpen()) return std::string(property) + " cannot be changed while the port is open.";
  return std::nullopt;
}

std::optional<std::string> CommControl::setCommPort(int number) {
  if (auto refused = refuseWhileOpen("CommPort")) return refused;
  if (number < 0 || number > 16) return "Invalid port number " + std::to_string(number) + ".";
  m_commPort = number;
  return std::nullopt;
}

std::optional<std::string> CommControl::setSettings(std::string_view settings) {
  const auto parsed = ParseSettings(settings);
  if (!parsed) return "Invalid line settings \"" + std::string(settings) + "\".";
  if (m_line) {
    if (auto error = m_line->configure(*parsed)) return error;
  }
  m_settings = settings;
  m_lineSettings = *parsed;
  return std::nullopt;
}

std::optional<std::string> CommControl::setPortOpen(bool open) {
  if (!open) {
    closePort();
    return std::nullopt;
  }
  if (m_line) return std::string("The port is already open.");
  const auto path = SerialDevicePath(m_commPort, m_devices);
  if (!path) return "Invalid port number " + std::to_string(m_commPort) + ": there is no serial port COM" +
                    std::to_string(m_commPort) + ".";
  auto opened = m_opener(*path, m_lineSettings);
  if (auto* error = std::get_if<std::string>(&opened))
    return "Cannot open COM" + std::to_string(m_commPort) + " (" + *path + "): " + *error;
  m_line = std::move(std::get<std::unique_ptr<SerialLine>>(opened));
  m_devicePath = *path;
  return std::nullopt;
}

void CommControl::closePort() {
  m_line.reset();
  m_devicePath.clear();
}

std::optional<std::string> CommControl::setOutput(std::span<const std::uint8_t> bytes) {
  if (!m_line) return std::string("The serial port is not open.");
  // Each piece may have to wait for the whole output buffer to drain, so allow
  // twice the wire time of buffer and piece, and five seconds for a printer
  // that pauses. A line that stops taking bytes fails after that, however
  // long the data.
  const long bitsPerByte = 1 + m_lineSettings.dataBits + (m_lineSettings.parity == 'N' ? 0 : 1) + 2;
  const std::size_t piece = std::min(bytes.size(), SerialLine::kWritePieceBytes);
  const auto wireMs = static_cast<long long>((piece + static_cast<std::size_t>(m_outBufferSize)) *
                                             static_cast<std::size_t>(bitsPerByte) * 1000 /
                                             static_cast<std::size_t>(m_lineSettings.baud));
  if (auto error = m_line->write(bytes, std::chrono::milliseconds(5000 + 2 * wireMs)))
    return "Writing to COM" + std::to_string(m_commPort) + " (" + m_devicePath + ") failed: " + *error;
  return std::nullopt;
}

std::optional<std::string> CommControl::setOutBufferSize(int bytes) {
  if (auto refused = refuseWhileOpen("OutBufferSize")) return refused;
  if (bytes < 1 || bytes > 32767) return "Invalid output buffer size " + std::to_string(bytes) + ".";
  m_outBufferSize = bytes;
  return std::nullopt;
}

std::optional<std::string> CommControl::setInBufferSize(int bytes) {
  if (auto refused = refuseWhileOpen("InBufferSize")) return refused;
  if (bytes < 1 || bytes > 32767) return "Invalid input buffer size " + std::to_string(bytes) + ".";
  m_inBufferSize = bytes;
  return std::nullopt;
}

std::optional<std::string> CommControl::setRThreshold(int count) {
  if (count < 0) return std::string("Invalid receive threshold.");
  m_rThreshold = count;
  return std::nullopt;
}

std::optional<std::string> CommControl::setSThreshold(int count) {
  if (count < 0) return std::string("Invalid send threshold.");
  m_sThreshold = count;
  return std::nullopt;
}

std::optional<std::string> CommControl::setInputLen(int count) {
  if (count < 0) return std::string("Invalid input length.");
  m_inputLen = count;
  return std::nullopt;
}

std::optional<std::string> CommControl::setOutBufferCount(int count) {
  if (count != 0) return std::string("OutBufferCount can only be set to 0.");
  if (!m_line) return std::string("The serial port is not open.");
  m_line->purgeOutput();
  return std::nullopt;
}

std::optional<std::string> CommControl::setInBufferCount(int count) {
  if (count != 0) return std::string("InBufferCount can only be set to 0.");
  if (!m_line) return std::string("The serial port is not open.");
  m_line->purgeInput();
  return std::nullopt;
}

}  // namespace j57
