#pragma once
// Raw byte output to a parallel port device ("lpt1" to "lpt3"), opened for one print
// action and closed at its end.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

namespace kit {

class ParallelPort {
 public:
  // The device path of port number 1..3: $J57_LPT<n> when set and not empty,
  // otherwise /dev/lp<n-1>. nullopt for other numbers.
  static std::optional<std::string> DevicePath(int number);

  // Opens path for writing without blocking on a FIFO that has no reader (that is
  // reported as an error: nobody listens). A path outside /dev that does not exist
  // yet is created as a plain file, and output to a plain file is appended. Returns the port or an
  // error text with the system's reason.
  static std::variant<ParallelPort, std::string> Open(const std::string& path);

  ParallelPort(ParallelPort&& other) noexcept;
  ParallelPort& operator=(ParallelPort&& other) noexcept;
  ParallelPort(const ParallelPort&) = delete;
  ParallelPort& operator=(const ParallelPort&) = delete;
  ~ParallelPort();

  // Writes every byte, blocking until the device took them. Returns an error text
  // when the device refused part of them.
  [[nodiscard]] std::optional<std::string> write(std::span<const std::uint8_t> bytes);
  void close();
  const std::string& path() const { return m_path; }

 private:
  ParallelPort(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
  int m_fd = -1;
  std::string m_path;
};

}  // namespace kit
