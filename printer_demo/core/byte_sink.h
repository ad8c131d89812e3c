#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace j57 {

// Where the pieces of a print action are written: the open serial port or a parallel
// port device opened for the action.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all bytes, blocking until they are taken. Returns an error text (with the
  // system's reason) when not every byte could be written.
  [[nodiscard]] virtual std::optional<std::string> write(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace j57
