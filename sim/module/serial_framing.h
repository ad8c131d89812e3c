#pragma once

// Serial framing of the virtual module: replies as "+OK", "+OK=" payload, or
// "+ERR=-n", each ended by "\r\n\r\n" (payload lines end in "\r\n"); requests are
// the bytes up to each carriage return.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sim/module/engine_reply.h"

namespace kitsim {

std::string FormatSerialReply(const EngineReply& reply);

// Cuts the incoming byte stream into requests. Raw data that a reply announced is
// passed through whole instead.
class RequestAssembler {
 public:
  static constexpr std::size_t kMaxRequest = 4096;

  struct Piece {
    enum class Kind { Request, Raw } kind;
    std::string bytes;
  };

  // Tells the assembler that count raw bytes follow.
  void expectRaw(std::size_t count) { m_rawLeft = count; }
  // Next complete piece from what was added, if any.
  std::optional<Piece> next();
  void add(std::string_view bytes) { m_pending.append(bytes); }
  // Requests dropped because they grew beyond kMaxRequest without a carriage return.
  int overflows() const { return m_overflows; }

 private:
  std::string m_pending;
  std::string m_line;
  std::size_t m_rawLeft = 0;
  int m_overflows = 0;
};

}  // namespace kitsim
