#include "sim/printer/printer_input.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace printer {
namespace {

std::string Reason() { return std::strerror(errno); }

}  // namespace

std::variant<PrinterInput, std::string> PrinterInput::OpenPseudoTerminal() {
  auto terminal = std::make_unique<kit::PseudoTerminal>();
  if (const auto error = terminal->open(); error != kit::SerialError::Ok)
    return std::string("cannot open a pseudo-terminal: ") + kit::SerialErrorName(error) + " (" +
           std::strerror(terminal->lastErrno()) + ")";
  return PrinterInput(std::move(terminal));
}

std::variant<PrinterInput, std::string> PrinterInput::OpenFifo(const std::string& path) {
  bool made = false;
  struct stat info{};
  if (::stat(path.c_str(), &info) != 0) {
    if (::mkfifo(path.c_str(), 0600) != 0) return "cannot make the FIFO " + path + ": " + Reason();
    made = true;
  } else if (!S_ISFIFO(info.st_mode)) {
    return path + " exists and is no FIFO";
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const std::string reason = Reason();
    if (made) ::unlink(path.c_str());
    return "cannot open " + path + ": " + reason;
  }
  return PrinterInput(fd, path, made);
}

PrinterInput::PrinterInput(PrinterInput&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_terminal(std::move(other.m_terminal)),
      m_path(std::move(other.m_path)),
      m_removeOnClose(std::exchange(other.m_removeOnClose, false)) {}

PrinterInput::~PrinterInput() {
  if (m_fd >= 0) ::close(m_fd);
  if (m_removeOnClose) ::unlink(m_path.c_str());
}

std::variant<std::size_t, std::string> PrinterInput::read(std::span<std::uint8_t> buffer, int timeoutMs) {
  if (m_terminal) {
    std::size_t got = 0;
    const auto error = m_terminal->read(std::as_writable_bytes(buffer), got, std::chrono::milliseconds(timeoutMs));
    if (error == kit::SerialError::Ok) return got;
    return std::string("reading ") + m_path + " failed: " + kit::SerialErrorName(error);
  }
  pollfd entry{m_fd, POLLIN, 0};
  const int ready = ::poll(&entry, 1, timeoutMs);
  if (ready < 0) {
    if (errno == EINTR) return std::size_t{0};
    return "waiting for data failed: " + Reason();
  }
  if (ready == 0) return std::size_t{0};
  const ssize_t n = ::read(m_fd, buffer.data(), buffer.size());
  if (n < 0) {
    if (errno == EAGAIN || errno == EINTR) return std::size_t{0};
    return "reading " + m_path + " failed: " + Reason();
  }
  return static_cast<std::size_t>(n);
}

}  // namespace printer
