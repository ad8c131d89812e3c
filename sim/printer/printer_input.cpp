#include "sim/printer/printer_input.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace printer {
namespace {

std::string Reason() { return std::strerror(errno); }

}  // namespace

std::variant<PrinterInput, std::string> PrinterInput::OpenPseudoTerminal() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return "cannot open a pseudo-terminal: " + Reason();
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    const std::string reason = Reason();
    ::close(master);
    return "cannot unlock the pseudo-terminal: " + reason;
  }
  char name[128];
  if (::ptsname_r(master, name, sizeof name) != 0) {
    const std::string reason = Reason();
    ::close(master);
    return "cannot name the pseudo-terminal: " + reason;
  }
  const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) {
    const std::string reason = Reason();
    ::close(master);
    return std::string("cannot open ") + name + ": " + reason;
  }
  // Raw from the start, so no byte is changed on its way (LF stays LF).
  termios settings{};
  if (::tcgetattr(slave, &settings) == 0) {
    ::cfmakeraw(&settings);
    ::tcsetattr(slave, TCSANOW, &settings);
  }
  return PrinterInput(master, slave, name, false);
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
  return PrinterInput(fd, -1, path, made);
}

PrinterInput::PrinterInput(PrinterInput&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_keepOpenFd(std::exchange(other.m_keepOpenFd, -1)),
      m_path(std::move(other.m_path)),
      m_removeOnClose(std::exchange(other.m_removeOnClose, false)) {}

PrinterInput::~PrinterInput() {
  if (m_fd >= 0) ::close(m_fd);
  if (m_keepOpenFd >= 0) ::close(m_keepOpenFd);
  if (m_removeOnClose) ::unlink(m_path.c_str());
}

std::variant<std::size_t, std::string> PrinterInput::read(std::span<std::uint8_t> buffer, int timeoutMs) {
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
