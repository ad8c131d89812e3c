#include "platform/serial/serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace kit {
namespace {

using SteadyClock = std::chrono::steady_clock;

std::optional<speed_t> SpeedFor(int baudRate) {
  switch (baudRate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return std::nullopt;
  }
}

// Milliseconds left until deadline for poll(): never negative, capped to int.
int MillisecondsLeft(SteadyClock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  if (left <= 0) return 0;
  return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

}  // namespace

int ModemLines::lower(int fd, int mask) { return ::ioctl(fd, TIOCMBIC, &mask) == 0 ? 0 : errno; }

ModemLines& ModemLines::system() {
  static ModemLines lines;
  return lines;
}

SerialDevice::SerialDevice(ModemLines& lines) : m_lines(lines) {}

SerialDevice::~SerialDevice() { close(); }

SerialError SerialDevice::fail(SerialError error, int err) {
  m_errno = err;
  return error;
}

SerialError SerialDevice::open(const std::string& path) {
  if (isOpen()) return fail(SerialError::InvalidArgument, EBUSY);
  if (path.empty()) return fail(SerialError::InvalidArgument, EINVAL);
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return fail(errno == ENOENT ? SerialError::NotFound : SerialError::OsFailure, errno);
  std::string devicePath(resolved);
  std::free(resolved);

  int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    int err = errno;
    if (err == EBUSY) return fail(SerialError::Busy, err);
    if (err == ENOENT || err == ENXIO || err == ENODEV) return fail(SerialError::NotFound, err);
    return fail(SerialError::OsFailure, err);
  }
  if (!::isatty(fd)) {
    ::close(fd);
    return fail(SerialError::Unsupported, ENOTTY);
  }
  // flock() is what keeps a second opener out when we run as root.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    ::close(fd);
    return fail(err == EWOULDBLOCK ? SerialError::Busy : SerialError::OsFailure, err);
  }
  if (::ioctl(fd, TIOCEXCL) != 0) {
    int err = errno;
    ::close(fd);
    return fail(SerialError::OsFailure, err);
  }
  int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd < 0) {
    int err = errno;
    ::close(fd);
    return fail(SerialError::OsFailure, err);
  }
  m_fd = fd;
  m_wakeFd = wakeFd;
  m_path = devicePath;
  m_errno = 0;
  m_timeouts = SerialTimeouts{};
  SerialError configured = configure(SerialLineSettings{});
  if (configured != SerialError::Ok) {
    int err = m_errno;
    close();
    return fail(configured, err);
  }
  return SerialError::Ok;
}

void SerialDevice::close() {
  if (m_fd >= 0) {
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);  // closing drops the flock as well
    m_fd = -1;
  }
  if (m_wakeFd >= 0) {
    ::close(m_wakeFd);
    m_wakeFd = -1;
  }
  m_path.clear();
}

SerialError SerialDevice::configure(const SerialLineSettings& settings) {
  if (!isOpen()) return fail(SerialError::NotOpen, EBADF);
  std::optional<speed_t> speed = SpeedFor(settings.baudRate);
  if (!speed || settings.dataBits < 5 || settings.dataBits > 8 || (settings.stopBits != 1 && settings.stopBits != 2))
    return fail(SerialError::InvalidArgument, EINVAL);

  termios tio{};
  if (::tcgetattr(m_fd, &tio) != 0) return fail(SerialError::OsFailure, errno);
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | HUPCL | CRTSCTS);
  static const tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  tio.c_cflag |= kSizes[settings.dataBits - 5] | CLOCAL | CREAD;
  if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
  if (settings.parity != SerialParity::None) {
    tio.c_cflag |= PARENB;
    if (settings.parity == SerialParity::Odd) tio.c_cflag |= PARODD;
  }
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::cfsetispeed(&tio, *speed) != 0 || ::cfsetospeed(&tio, *speed) != 0) return fail(SerialError::OsFailure, errno);
  if (::tcsetattr(m_fd, TCSANOW, &tio) != 0) return fail(SerialError::OsFailure, errno);
  // No RTS line control: the line stays low. Ports without modem lines refuse the
  // request (ENOTTY, EINVAL), which changes nothing for the data.
  (void)m_lines.lower(m_fd, TIOCM_RTS);
  return SerialError::Ok;
}

SerialError SerialDevice::setTimeouts(const SerialTimeouts& timeouts) {
  if (!isOpen()) return fail(SerialError::NotOpen, EBADF);
  m_timeouts = timeouts;
  return SerialError::Ok;
}

SerialError SerialDevice::read(std::span<std::byte> buffer, std::size_t& got) {
  got = 0;
  if (!isOpen()) return fail(SerialError::NotOpen, EBADF);
  if (buffer.empty()) return SerialError::Ok;

  const SerialTimeouts& t = m_timeouts;
  const bool hasTotal = t.readTotalMultiplier != 0 || t.readTotalConstant != 0;
  const auto totalMs = static_cast<std::uint64_t>(t.readTotalMultiplier) * buffer.size() + t.readTotalConstant;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(totalMs);

  while (got < buffer.size()) {
    int timeoutMs = -1;
    if (hasTotal) timeoutMs = MillisecondsLeft(deadline);
    if (got > 0) {
      // Without any time-out set, a read returns as soon as something arrived.
      int interval = (t.readInterval != 0 || hasTotal) ? static_cast<int>(t.readInterval) : 0;
      timeoutMs = timeoutMs < 0 ? interval : std::min(timeoutMs, interval);
    }
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    int ready = ::poll(fds, 2, timeoutMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return fail(SerialError::OsFailure, errno);
    }
    if (fds[1].revents & POLLIN) {
      std::uint64_t count = 0;
      (void)!::read(m_wakeFd, &count, sizeof count);
      return SerialError::Woken;
    }
    if (ready == 0) return SerialError::Ok;  // time-out: whatever arrived is the result
    if (fds[0].revents & POLLIN) {
      ssize_t n = ::read(m_fd, buffer.data() + got, buffer.size() - got);
      if (n > 0) {
        got += static_cast<std::size_t>(n);
        continue;
      }
      if (n == 0) return fail(SerialError::DeviceGone, 0);
      if (errno == EAGAIN || errno == EINTR) continue;
      if (errno == EIO) return fail(SerialError::DeviceGone, EIO);
      return fail(SerialError::OsFailure, errno);
    }
    if (fds[0].revents & (POLLHUP | POLLERR)) return fail(SerialError::DeviceGone, EIO);
    if (fds[0].revents & POLLNVAL) return fail(SerialError::OsFailure, EBADF);
  }
  return SerialError::Ok;
}

SerialError SerialDevice::write(std::span<const std::byte> bytes, std::size_t& written) {
  written = 0;
  if (!isOpen()) return fail(SerialError::NotOpen, EBADF);
  const SerialTimeouts& t = m_timeouts;
  const bool hasTotal = t.writeTotalMultiplier != 0 || t.writeTotalConstant != 0;
  const auto totalMs = static_cast<std::uint64_t>(t.writeTotalMultiplier) * bytes.size() + t.writeTotalConstant;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(totalMs);

  while (written < bytes.size()) {
    ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return fail(errno == EIO ? SerialError::DeviceGone : SerialError::OsFailure, errno);
    // The output queue is full: wait until it drains or the time-out runs out.
    pollfd fd{m_fd, POLLOUT, 0};
    int ready = ::poll(&fd, 1, hasTotal ? MillisecondsLeft(deadline) : -1);
    if (ready < 0 && errno != EINTR) return fail(SerialError::OsFailure, errno);
    if (ready == 0) return fail(SerialError::Timeout, ETIMEDOUT);
    if (ready > 0 && (fd.revents & (POLLHUP | POLLERR))) return fail(SerialError::DeviceGone, EIO);
  }
  return SerialError::Ok;
}

SerialError SerialDevice::purge(SerialPurge which) {
  if (!isOpen()) return fail(SerialError::NotOpen, EBADF);
  int queue = which == SerialPurge::Input ? TCIFLUSH : which == SerialPurge::Output ? TCOFLUSH : TCIOFLUSH;
  if (::tcflush(m_fd, queue) != 0) return fail(SerialError::OsFailure, errno);
  return SerialError::Ok;
}

SerialError SerialDevice::clearErrors() {
  if (!isOpen()) return fail(SerialError::NotOpen, EBADF);
  return SerialError::Ok;
}

std::size_t SerialDevice::queuedInput() const {
  int queued = 0;
  if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &queued) != 0 || queued < 0) return 0;
  return static_cast<std::size_t>(queued);
}

void SerialDevice::wake() {
  int fd = m_wakeFd;
  if (fd < 0) return;
  std::uint64_t one = 1;
  (void)!::write(fd, &one, sizeof one);
}

}  // namespace kit
