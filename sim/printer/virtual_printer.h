#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/printer/escpos_parser.h"
#include "sim/printer/receipt_layout.h"

namespace printer {

// The virtual receipt printer without its output: bytes in, receipts and
// diagnostics out. Double-byte characters are read as code page 936.
class VirtualPrinter {
 public:
  explicit VirtualPrinter(int paperWidth = 576);

  void feed(std::span<const std::uint8_t> bytes);
  // The input ended: finishes an unfinished command and hands out the paper printed
  // after the last cut as a receipt of its own (Receipt::cut is false).
  void finish();

  std::vector<Receipt> takeReceipts();
  std::vector<std::string> takeDiagnostics() { return m_layout.takeDiagnostics(); }
  std::size_t bytesParsed() const { return m_parser.bytesParsed(); }

 private:
  ReceiptLayout m_layout;
  EscPosParser m_parser;
  std::vector<Receipt> m_receipts;
};

}  // namespace printer
