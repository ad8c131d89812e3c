#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>

namespace j57 {

// Line settings of the serial control's Settings property ("9600,N,8,1").
struct LineSettings {
  long baud = 9600;
  char parity = 'N';  // N, E, O, M, S
  int dataBits = 8;   // 4..8
  int stopBitsTimesTwo = 2;  // 2 = one stop bit, 3 = one and a half, 4 = two
};

// One open serial device under the serial control.
class SerialLine {
 public:
  virtual ~SerialLine() = default;
  // The line takes the bytes in pieces of at most this many.
  static constexpr std::size_t kWritePieceBytes = 1024;
  // Writes every byte or reports why not (with the system's reason and the
  // bytes sent), waiting at most `timeout` for each piece: a line that stops
  // taking bytes fails after one time-out, whatever the length of the data.
  [[nodiscard]] virtual std::optional<std::string> write(std::span<const std::uint8_t> bytes,
                                                         std::chrono::milliseconds timeout) = 0;
  // Applies new line settings to the open device.
  [[nodiscard]] virtual std::optional<std::string> configure(const LineSettings& settings) = 0;
  virtual void purgeOutput() = 0;
  virtual void purgeInput() = 0;
};

// Opens the device at path with the given settings, without flow control; the line
// closes when destroyed. A string is the error text.
using SerialLineOpener =
    std::function<std::variant<std::unique_ptr<SerialLine>, std::string>(const std::string& path, const LineSettings&)>;

}  // namespace j57
