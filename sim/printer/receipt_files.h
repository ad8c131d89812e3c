#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/printer/receipt.h"
#include "sim/printer/receipt_renderer.h"

namespace printer {

// Writes receipts as numbered PNG files into a folder: receipt-0001.png and on,
// continuing after the highest number already there so nothing is overwritten.
class ReceiptFiles {
 public:
  ReceiptFiles(std::string folder, const ReceiptRenderer& renderer);

  // Creates the folder when missing. Returns an error text when it cannot.
  std::optional<std::string> prepare();
  // Writes one receipt; returns its path, or an error text in error.
  std::optional<std::string> write(const Receipt& receipt, std::string& error);

 private:
  std::string m_folder;
  const ReceiptRenderer& m_renderer;
  int m_next = 1;
};

}  // namespace printer
