#include "platform/serial/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>

namespace kit {

PseudoTerminal::~PseudoTerminal() { close(); }

SerialError PseudoTerminal::open() {
  if (isOpen()) return SerialError::InvalidArgument;
  int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (master < 0) {
    m_errno = errno;
    return SerialError::OsFailure;
  }
  char name[128];
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
    m_errno = errno;
    ::close(master);
    return SerialError::OsFailure;
  }
  int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (slave < 0 || wakeFd < 0) {
    m_errno = errno;
    if (slave >= 0) ::close(slave);
    if (wakeFd >= 0) ::close(wakeFd);
    ::close(master);
    return SerialError::OsFailure;
  }
  termios tio{};
  if (::tcgetattr(slave, &tio) == 0) {
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~HUPCL;
    ::tcsetattr(slave, TCSANOW, &tio);
  }
  m_master = master;
  m_slave = slave;
  m_wakeFd = wakeFd;
  m_portPath = name;
  return SerialError::Ok;
}

void PseudoTerminal::close() {
  for (int* fd : {&m_master, &m_slave, &m_wakeFd}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  m_portPath.clear();
}

SerialError PseudoTerminal::read(std::span<std::byte> buffer, std::size_t& got, std::chrono::milliseconds timeout) {
  got = 0;
  if (!isOpen()) return SerialError::NotOpen;
  int timeoutMs = timeout.count() < 0 ? -1 : static_cast<int>(std::min<long long>(timeout.count(), INT_MAX));
  for (;;) {
    pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    int ready = ::poll(fds, 2, timeoutMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      m_errno = errno;
      return SerialError::OsFailure;
    }
    if (fds[1].revents & POLLIN) {
      std::uint64_t count = 0;
      (void)!::read(m_wakeFd, &count, sizeof count);
      return SerialError::Woken;
    }
    if (ready == 0) return SerialError::Ok;
    ssize_t n = ::read(m_master, buffer.data(), buffer.size());
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return SerialError::Ok;
    }
    if (errno == EAGAIN || errno == EINTR) continue;
    m_errno = errno;
    return SerialError::OsFailure;
  }
}

SerialError PseudoTerminal::write(std::span<const std::byte> bytes) {
  if (!isOpen()) return SerialError::NotOpen;
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      m_errno = errno;
      return SerialError::OsFailure;
    }
    pollfd fd{m_master, POLLOUT, 0};
    if (::poll(&fd, 1, 1000) == 0) {
      // The program side does not drain its input: give up rather than hang.
      m_errno = ETIMEDOUT;
      return SerialError::Timeout;
    }
  }
  return SerialError::Ok;
}

SerialError PseudoTerminal::write(std::string_view text) {
  return write(std::as_bytes(std::span<const char>(text.data(), text.size())));
}

void PseudoTerminal::wake() {
  if (m_wakeFd < 0) return;
  std::uint64_t one = 1;
  (void)!::write(m_wakeFd, &one, sizeof one);
}

}  // namespace kit
