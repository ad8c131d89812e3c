#pragma once
// Where the virtual printer receives its bytes: the far end of a pseudo-terminal
// (as a serial printer) or a FIFO (as a parallel printer).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <memory>
#include <variant>

#include "platform/serial/pseudo_terminal.h"

namespace printer {

class PrinterInput {
 public:
  // A new pseudo-terminal; path() is the device a program opens as its serial port.
  static std::variant<PrinterInput, std::string> OpenPseudoTerminal();
  // A FIFO at path, made when missing (and then removed again on close); kept open
  // for reading and writing so that writers may come and go.
  static std::variant<PrinterInput, std::string> OpenFifo(const std::string& path);

  PrinterInput(PrinterInput&& other) noexcept;
  PrinterInput& operator=(PrinterInput&&) = delete;
  PrinterInput(const PrinterInput&) = delete;
  ~PrinterInput();

  const std::string& path() const { return m_path; }

  // Waits up to timeoutMs for bytes and reads what is there into buffer. Returns the
  // count (0 on time-out), or an error text.
  std::variant<std::size_t, std::string> read(std::span<std::uint8_t> buffer, int timeoutMs);

 private:
  PrinterInput(int fd, std::string path, bool removeOnClose)
      : m_fd(fd), m_path(std::move(path)), m_removeOnClose(removeOnClose) {}
  explicit PrinterInput(std::unique_ptr<kit::PseudoTerminal> terminal)
      : m_terminal(std::move(terminal)), m_path(m_terminal->portPath()) {}
  int m_fd = -1;                                  // the FIFO
  std::unique_ptr<kit::PseudoTerminal> m_terminal;  // or the pseudo-terminal
  std::string m_path;
  bool m_removeOnClose = false;
};

}  // namespace printer
