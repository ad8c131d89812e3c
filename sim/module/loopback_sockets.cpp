#include "sim/module/loopback_sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/module/engine_reply.h"

namespace kitsim {
namespace {

constexpr int kMaxSockets = 8;

std::optional<in_addr> LoopbackAddress(const std::string& text) {
  in_addr address{};
  if (::inet_pton(AF_INET, text == "localhost" ? "127.0.0.1" : text.c_str(), &address) != 1) return std::nullopt;
  if ((ntohl(address.s_addr) >> 24) != 127) return std::nullopt;  // loopback only
  return address;
}

std::string AddressText(const sockaddr_in& address) {
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  return text;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

LoopbackSockets::~LoopbackSockets() { closeAll(); }

int LoopbackSockets::freeNumber() const {
  for (int n = 1; n <= kMaxSockets; ++n)
    if (m_sockets.find(n) == m_sockets.end()) return n;
  return 0;
}

int LoopbackSockets::create(int protocol, int csMode, const std::string& addressText, int port) {
  int number = freeNumber();
  if (number == 0) return -kErrNoSocket;
  if (port < 1 || port > 65535 || (protocol != 0 && protocol != 1)) return -kErrBadParameter;
  Socket socket;
  socket.protocol = protocol;
  socket.csMode = csMode;
  socket.port = port;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const int type = (protocol == 0 ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC;
  if (csMode == 0) {
    std::optional<in_addr> target = LoopbackAddress(addressText);
    if (!target) return -kErrConnectionFailure;
    address.sin_addr = *target;
    int fd = ::socket(AF_INET, type | SOCK_NONBLOCK, 0);
    if (fd < 0) return -kErrConnectionFailure;
    int rc = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    if (rc != 0 && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int error = 0;
      socklen_t length = sizeof error;
      rc = (::poll(&p, 1, 2000) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) ? 0 : -1;
    }
    if (rc != 0) {
      ::close(fd);
      return -kErrConnectionFailure;
    }
    socket.fd = fd;
    socket.peer = AddressText(address);
  } else {
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int fd = ::socket(AF_INET, type | SOCK_NONBLOCK, 0);
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (protocol == 0 && ::listen(fd, 1) != 0)) {
      if (fd >= 0) ::close(fd);
      return -kErrConnectionFailure;
    }
    if (protocol == 0)
      socket.listenFd = fd;
    else
      socket.fd = fd;
  }
  m_sockets[number] = socket;
  return number;
}

void LoopbackSockets::acceptPending(Socket& socket) {
  if (socket.listenFd < 0 || socket.fd >= 0) return;
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  int fd = ::accept4(socket.listenFd, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  socket.fd = fd;
  socket.peer = AddressText(peer);
}

int LoopbackSockets::send(int number, const std::string& data) {
  auto it = m_sockets.find(number);
  if (it == m_sockets.end()) return -kErrBadSocketNumber;
  Socket& socket = it->second;
  acceptPending(socket);
  if (socket.fd < 0 || (socket.protocol == 1 && socket.csMode == 1 && socket.peer.empty())) return -kErrNoSocket;
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::send(socket.fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{socket.fd, POLLOUT, 0};
      if (::poll(&p, 1, 1000) == 1) continue;
    }
    break;
  }
  return static_cast<int>(done);
}

std::optional<std::string> LoopbackSockets::receive(int number, std::size_t max) {
  auto it = m_sockets.find(number);
  if (it == m_sockets.end()) return std::nullopt;
  Socket& socket = it->second;
  acceptPending(socket);
  if (socket.fd < 0) return std::string();
  pollfd p{socket.fd, POLLIN, 0};
  if (::poll(&p, 1, 100) != 1) return std::string();
  std::string data(max, '\0');
  sockaddr_in from{};
  socklen_t length = sizeof from;
  ssize_t n = ::recvfrom(socket.fd, data.data(), max, 0, reinterpret_cast<sockaddr*>(&from), &length);
  if (n <= 0) return std::string();
  if (socket.protocol == 1 && socket.csMode == 1) {
    // A UDP server answers whoever spoke last.
    socket.peer = AddressText(from);
    ::connect(socket.fd, reinterpret_cast<sockaddr*>(&from), length);
  }
  data.resize(static_cast<std::size_t>(n));
  return data;
}

std::optional<SocketStatus> LoopbackSockets::status(int number) {
  auto it = m_sockets.find(number);
  if (it == m_sockets.end()) return std::nullopt;
  Socket& socket = it->second;
  acceptPending(socket);
  SocketStatus s;
  s.number = number;
  s.status = socket.fd >= 0 && (socket.csMode == 0 || !socket.peer.empty()) ? 2 : 1;
  s.peer = socket.peer.empty() ? "0.0.0.0" : socket.peer;
  s.port = socket.port;
  int waiting = 0;
  if (socket.fd >= 0 && ::ioctl(socket.fd, FIONREAD, &waiting) == 0) s.waiting = waiting;
  return s;
}

std::vector<int> LoopbackSockets::numbers() const {
  std::vector<int> result;
  for (const auto& [number, socket] : m_sockets) result.push_back(number);
  return result;
}

bool LoopbackSockets::close(int number) {
  auto it = m_sockets.find(number);
  if (it == m_sockets.end()) return false;
  CloseFd(it->second.fd);
  CloseFd(it->second.listenFd);
  m_sockets.erase(it);
  return true;
}

void LoopbackSockets::closeAll() {
  while (!m_sockets.empty()) close(m_sockets.begin()->first);
}

}  // namespace kitsim
