#pragma once

// A module on a pseudo-terminal that answers from a script, for the cases a proper
// module does not produce: data that trickles in after the reply, accepted counts
// below what was asked. Every byte the tool writes is recorded.

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/serial/pseudo_terminal.h"

namespace tarnwave::testing {

class ScriptedLine {
 public:
  // Answer for a request line (without "\r"): chunks written in order, each after
  // its pause.
  struct Chunk {
    std::chrono::milliseconds pause;
    std::string bytes;
  };
  using Script = std::function<std::vector<Chunk>(const std::string& request)>;

  explicit ScriptedLine(Script script) : m_script(std::move(script)) {
    if (m_pty.open() != kit::SerialError::Ok) return;
    m_thread = std::thread([this] { run(); });
  }
  ~ScriptedLine() {
    m_pty.wake();
    if (m_thread.joinable()) m_thread.join();
  }
  const std::string& portPath() const { return m_pty.portPath(); }
  std::string received() {
    std::lock_guard lock(m_mutex);
    return m_received;
  }

 private:
  void run() {
    std::string line;
    std::array<std::byte, 512> buffer{};
    for (;;) {
      std::size_t got = 0;
      if (m_pty.read(buffer, got, std::chrono::milliseconds(-1)) != kit::SerialError::Ok) return;
      for (std::size_t i = 0; i < got; ++i) {
        char c = static_cast<char>(buffer[i]);
        {
          std::lock_guard lock(m_mutex);
          m_received += c;
        }
        if (c != '\r') {
          line += c;
          continue;
        }
        for (const Chunk& chunk : m_script(line)) {
          std::this_thread::sleep_for(chunk.pause);
          (void)m_pty.write(chunk.bytes);
        }
        line.clear();
      }
    }
  }

  Script m_script;
  kit::PseudoTerminal m_pty;
  std::mutex m_mutex;
  std::string m_received;
  std::thread m_thread;
};

}  // namespace tarnwave::testing
