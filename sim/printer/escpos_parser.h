#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "sim/printer/printer_command.h"

namespace printer {

// Splits the printer's byte stream into commands. The stream may arrive in pieces
// of any size: a command cut between two pieces is kept until its rest arrives.
// Bytes that form no known command are handed on as Unknown commands; nothing is
// fatal and nothing is lost silently.
class EscPosParser {
 public:
  using Sink = std::function<void(const PrinterCommand&)>;

  explicit EscPosParser(Sink sink) : m_sink(std::move(sink)) {}

  void feed(std::span<const std::uint8_t> bytes);
  // The stream ended: an unfinished command is reported as Unknown.
  void finish();

  std::size_t bytesParsed() const { return m_parsed; }

  // Longest barcode data the printer takes before a 00 terminator.
  static constexpr std::size_t kMaxBarcodeData = 255;

 private:
  // Parses one command at the start of bytes; 0 when it needs more bytes.
  std::size_t parseOne(std::span<const std::uint8_t> bytes);
  std::size_t parseEsc(std::span<const std::uint8_t> bytes);
  std::size_t parseGs(std::span<const std::uint8_t> bytes);
  std::size_t parseFs(std::span<const std::uint8_t> bytes);
  std::size_t parseTabPositions(std::span<const std::uint8_t> bytes);
  std::size_t parseBarcode(std::span<const std::uint8_t> bytes);
  void emit(CommandKind kind, int a = 0, int b = 0);
  void unknown(std::span<const std::uint8_t> bytes, std::string why);

  Sink m_sink;
  std::vector<std::uint8_t> m_pending;
  std::size_t m_parsed = 0;
};

}  // namespace printer
