#include "platform/parallel/parallel_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kit {
namespace {

std::string Reason(int error) { return std::strerror(error); }

}  // namespace

std::optional<std::string> ParallelPort::DevicePath(int number) {
  if (number < 1 || number > 3) return std::nullopt;
  const std::string variable = "J57_LPT" + std::to_string(number);
  if (const char* overridden = std::getenv(variable.c_str()); overridden && *overridden) return overridden;
  return "/dev/lp" + std::to_string(number - 1);
}

std::variant<ParallelPort, std::string> ParallelPort::Open(const std::string& path) {
  // O_NONBLOCK makes opening a FIFO without a reader fail at once (ENXIO) instead of
  // hanging the window; it is cleared again before writing.
  // A device that is not there is an error, never a new plain file under /dev.
  const bool device = path.rfind("/dev/", 0) == 0;
  const int fd = ::open(path.c_str(), O_WRONLY | (device ? 0 : O_CREAT) | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                        0644);
  if (fd < 0) {
    const int error = errno;
    if (error == ENXIO) return "Cannot open " + path + ": no printer is reading from it (" + Reason(error) + ")";
    return "Cannot open " + path + ": " + Reason(error);
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    const int error = errno;
    ::close(fd);
    return "Cannot prepare " + path + ": " + Reason(error);
  }
  return ParallelPort(fd, path);
}

ParallelPort::ParallelPort(ParallelPort&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

ParallelPort& ParallelPort::operator=(ParallelPort&& other) noexcept {
  if (this != &other) {
    close();
    m_fd = std::exchange(other.m_fd, -1);
    m_path = std::move(other.m_path);
  }
  return *this;
}

ParallelPort::~ParallelPort() { close(); }

std::optional<std::string> ParallelPort::write(std::span<const std::uint8_t> bytes) {
  if (m_fd < 0) return "The port " + m_path + " is not open";
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      return "Writing to " + m_path + " failed after " + std::to_string(done) + " of " +
             std::to_string(bytes.size()) + " bytes: " + Reason(error);
    }
    done += static_cast<std::size_t>(n);
  }
  return std::nullopt;
}

void ParallelPort::close() {
  if (m_fd >= 0) ::close(std::exchange(m_fd, -1));
}

}  // namespace kit
