#include "platform/test_support/terminal_drain.h"

#include <chrono>

namespace kit::test_support {

std::string DrainTerminal(kit::PseudoTerminal& terminal, std::size_t expected) {
  std::string received;
  std::byte buffer[4096];
  for (int idle = 0; received.size() < expected && idle < 50;) {
    std::size_t got = 0;
    if (terminal.read(buffer, got, std::chrono::milliseconds(100)) != kit::SerialError::Ok) break;
    if (got == 0) ++idle;
    received.append(reinterpret_cast<const char*>(buffer), got);
  }
  return received;
}

}  // namespace kit::test_support
