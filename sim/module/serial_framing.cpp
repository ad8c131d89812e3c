#include "sim/module/serial_framing.h"

#include <algorithm>

namespace kitsim {

std::string FormatSerialReply(const EngineReply& reply) {
  if (reply.silent) return {};
  if (reply.error != 0) return "+ERR=-" + std::to_string(reply.error) + "\r\n\r\n";
  if (!reply.lines) return "+OK\r\n\r\n";
  std::string text = "+OK=";
  for (const std::string& line : *reply.lines) text += line + "\r\n";
  text += "\r\n";
  text += reply.trailingData;
  return text;
}

std::optional<RequestAssembler::Piece> RequestAssembler::next() {
  while (!m_pending.empty()) {
    if (m_rawLeft > 0) {
      std::size_t take = std::min(m_rawLeft, m_pending.size());
      Piece piece{Piece::Kind::Raw, m_pending.substr(0, take)};
      m_pending.erase(0, take);
      m_rawLeft -= take;
      return piece;
    }
    char c = m_pending.front();
    m_pending.erase(0, 1);
    if (c == '\r') {
      Piece piece{Piece::Kind::Request, std::move(m_line)};
      m_line.clear();
      return piece;
    }
    if (c == '\n' && m_line.empty()) continue;  // a line feed after the carriage return
    if (m_line.size() >= kMaxRequest) {
      // No module request is this long: drop it and wait for the next one.
      m_line.clear();
      ++m_overflows;
    }
    m_line += c;
  }
  return std::nullopt;
}

}  // namespace kitsim
