#pragma once

#include <memory>
#include <optional>
#include <string>

#include "sim/printer/receipt.h"

namespace printer {

// Draws receipts as black-on-white PNG images, one image pixel per printer dot, with
// the paper's unprintable margins around the printable area. Text is drawn with a
// real font (DejaVu Sans Mono; Chinese characters from a font that has them).
// Drawing text needs a Qt GUI application object: the renderer makes one (on the
// offscreen platform when no display is set) if the program has none.
class ReceiptRenderer {
 public:
  ReceiptRenderer();
  ~ReceiptRenderer();
  ReceiptRenderer(const ReceiptRenderer&) = delete;
  ReceiptRenderer& operator=(const ReceiptRenderer&) = delete;

  // The family the text font resolved to; empty or different from "DejaVu Sans Mono"
  // means the receipts would show substitute glyphs.
  std::string textFontFamily() const;

  // Writes the receipt to path. Returns an error text when the file cannot be written.
  std::optional<std::string> savePng(const Receipt& receipt, const std::string& path) const;

  static constexpr int kSideMargin = 32;    // dots beside the printable area (80 mm paper: 640 dots)
  static constexpr int kTopMargin = 16;
  static constexpr int kBottomMargin = 48;  // print head to cutter

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace printer
