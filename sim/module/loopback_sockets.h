#pragma once

// The virtual module's sockets. They are real sockets, but only on the loopback
// network: a client connects only to 127.x.x.x or "localhost", a server listens on
// 127.0.0.1. Numbers run from 1 to 8.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kitsim {

struct SocketStatus {
  int number = 0;
  int status = 0;  // 1 listening ("Monitor"), 2 connected ("Connect"), 0 not connected
  std::string peer;
  int port = 0;
  int waiting = 0;  // bytes ready to be received
};

class LoopbackSockets {
 public:
  LoopbackSockets() = default;
  ~LoopbackSockets();
  LoopbackSockets(const LoopbackSockets&) = delete;
  LoopbackSockets& operator=(const LoopbackSockets&) = delete;

  // protocol 0 TCP, 1 UDP; csMode 0 client, 1 server. Returns the socket number or
  // the module's error number as a negative value.
  int create(int protocol, int csMode, const std::string& address, int port);
  // Bytes actually sent, or a negative error number.
  int send(int number, const std::string& data);
  // Up to max bytes that are ready now (waiting at most a short moment).
  std::optional<std::string> receive(int number, std::size_t max);
  std::optional<SocketStatus> status(int number);
  std::vector<int> numbers() const;
  bool close(int number);
  void closeAll();

 private:
  struct Socket {
    int fd = -1;        // the connected or bound socket
    int listenFd = -1;  // TCP server: the listening socket
    int protocol = 0;
    int csMode = 0;
    std::string peer;
    int port = 0;
  };
  void acceptPending(Socket& socket);
  int freeNumber() const;

  std::map<int, Socket> m_sockets;
};

}  // namespace kitsim
