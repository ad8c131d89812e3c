#include "platform/test_support/loopback_echo_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace kit::test_support {

LoopbackEchoServer::LoopbackEchoServer() {
  if (::pipe(m_wake) != 0) return;
  int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 || ::listen(listener, 4) != 0) {
    if (listener >= 0) ::close(listener);
    return;
  }
  m_listener = listener;
  m_port = ntohs(address.sin_port);
  m_thread = std::thread([this] { serve(); });
}

LoopbackEchoServer::~LoopbackEchoServer() {
  if (m_thread.joinable()) {
    (void)!::write(m_wake[1], "x", 1);
    m_thread.join();
  }
  for (int fd : {m_listener, m_wake[0], m_wake[1]})
    if (fd >= 0) ::close(fd);
}

void LoopbackEchoServer::serve() {
  std::vector<int> peers;
  for (;;) {
    std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
    for (int peer : peers) fds.push_back({peer, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), 10000) < 0) break;
    if (fds[0].revents != 0) break;
    if (fds[1].revents & POLLIN) {
      int peer = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (peer >= 0) peers.push_back(peer);
    }
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = ::recv(fds[i].fd, buffer, sizeof buffer, 0);
      if (got <= 0) {
        ::close(fds[i].fd);
        std::erase(peers, fds[i].fd);
        continue;
      }
      ssize_t sent = 0;
      while (sent < got) {
        const ssize_t n = ::send(fds[i].fd, buffer + sent, static_cast<std::size_t>(got - sent), MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += n;
      }
      m_echoed += static_cast<std::size_t>(sent);
    }
  }
  for (int peer : peers) ::close(peer);
}

}  // namespace kit::test_support
