#include "printer_demo/sysenv/platform_serial_line.h"

#include <algorithm>
#include <cstring>

#include "platform/serial/serial_device.h"

namespace j57 {
namespace {

std::string Describe(kit::SerialError error, const kit::SerialDevice& device) {
  std::string text = kit::SerialErrorName(error);
  if (device.lastErrno() != 0) text += std::string(" (") + std::strerror(device.lastErrno()) + ")";
  return text;
}

std::variant<kit::SerialLineSettings, std::string> ToPlatform(const LineSettings& settings) {
  kit::SerialLineSettings line;
  line.baudRate = static_cast<int>(settings.baud);
  line.dataBits = settings.dataBits;
  switch (settings.parity) {
    case 'N': line.parity = kit::SerialParity::None; break;
    case 'E': line.parity = kit::SerialParity::Even; break;
    case 'O': line.parity = kit::SerialParity::Odd; break;
    default: return std::string("this line cannot use mark or space parity");
  }
  if (settings.stopBitsTimesTwo == 3) return std::string("this line cannot use 1.5 stop bits");
  line.stopBits = settings.stopBitsTimesTwo / 2;
  return line;
}

class PlatformSerialLine final : public SerialLine {
 public:
  std::optional<std::string> open(const std::string& path, const LineSettings& settings) {
    if (const auto error = m_device.open(path); error != kit::SerialError::Ok) return Describe(error, m_device);
    return configure(settings);
  }

  std::optional<std::string> write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override {
    kit::SerialTimeouts timeouts = m_device.timeouts();
    timeouts.writeTotalMultiplier = 0;
    timeouts.writeTotalConstant = static_cast<std::uint32_t>(std::max<long long>(1, timeout.count()));
    if (const auto error = m_device.setTimeouts(timeouts); error != kit::SerialError::Ok)
      return Describe(error, m_device);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const std::size_t piece = std::min(kWritePieceBytes, bytes.size() - sent);
      std::size_t written = 0;
      const auto error = m_device.write(std::as_bytes(bytes.subspan(sent, piece)), written);
      sent += written;
      if (error == kit::SerialError::Ok && written == piece) continue;
      const std::string reason = error == kit::SerialError::Ok ? std::string("short write") : Describe(error, m_device);
      return reason + " after " + std::to_string(sent) + " of " + std::to_string(bytes.size()) + " bytes";
    }
    return std::nullopt;
  }

  std::optional<std::string> configure(const LineSettings& settings) override {
    const auto line = ToPlatform(settings);
    if (auto* error = std::get_if<std::string>(&line)) return *error;
    const auto error = m_device.configure(std::get<kit::SerialLineSettings>(line));
    if (error == kit::SerialError::InvalidArgument)
      return "the line cannot take " + std::to_string(settings.baud) + " baud with " +
             std::to_string(settings.dataBits) + " data bits";
    if (error != kit::SerialError::Ok) return Describe(error, m_device);
    return std::nullopt;
  }

  void purgeOutput() override { (void)m_device.purge(kit::SerialPurge::Output); }
  void purgeInput() override { (void)m_device.purge(kit::SerialPurge::Input); }

 private:
  kit::SerialDevice m_device;
};

}  // namespace

SerialLineOpener PlatformSerialLineOpener() {
  return [](const std::string& path, const LineSettings& settings) -> std::variant<std::unique_ptr<SerialLine>, std::string> {
    auto line = std::make_unique<PlatformSerialLine>();
    if (auto error = line->open(path, settings)) return *error;
    return std::unique_ptr<SerialLine>(std::move(line));
  };
}

}  // namespace j57
