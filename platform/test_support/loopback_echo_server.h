#pragma once

#include <atomic>
#include <thread>

namespace kit::test_support {

// A TCP server on 127.0.0.1 (a free port) that sends back every byte it receives, to
// one connection after another, until it is destroyed.
class LoopbackEchoServer {
 public:
  LoopbackEchoServer();
  ~LoopbackEchoServer();
  LoopbackEchoServer(const LoopbackEchoServer&) = delete;
  LoopbackEchoServer& operator=(const LoopbackEchoServer&) = delete;

  bool ok() const { return m_listener >= 0; }
  int port() const { return m_port; }
  // Bytes echoed so far.
  std::size_t echoed() const { return m_echoed.load(); }

 private:
  void serve();

  int m_listener = -1;
  int m_wake[2] = {-1, -1};
  int m_port = 0;
  std::atomic<std::size_t> m_echoed{0};
  std::thread m_thread;
};

}  // namespace kit::test_support
