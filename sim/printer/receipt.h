#pragma once

#include <string>
#include <vector>

#include "sim/printer/barcode_symbol.h"

namespace printer {

// One character cell on the paper, in dots from the paper's top-left corner of the
// printable area.
struct PlacedGlyph {
  int x = 0;
  int y = 0;
  int width = 0;   // cell width including the size multiplier
  int height = 0;  // cell height including the size multiplier
  int scaleX = 1;
  int scaleY = 1;
  bool fontB = false;
  bool emphasized = false;
  bool underline = false;
  std::string text;  // the character in UTF-8
};

struct PlacedBarcode {
  int x = 0;
  int y = 0;
  int moduleWidth = 0;
  int height = 0;
  BarcodeSymbol symbol;
  int width() const { return static_cast<int>(symbol.modules.size()) * moduleWidth; }
};

// One printed line of text, for reading the layout back.
struct PrintedLine {
  int y = 0;       // top of the line
  int height = 0;  // the paper fed for it
  int x = 0;       // left edge of the first character
  int width = 0;   // from the left edge of the first to the right edge of the last character
  std::string text;
};

// The paper between two cuts.
struct Receipt {
  int width = 0;   // printable width in dots
  int height = 0;  // paper fed, in dots
  bool cut = false;         // ended by a cut (false: the paper printed after the last cut)
  bool partialCut = false;
  bool torn = false;        // ended because it reached the longest page (see ReceiptLayout)
  std::vector<PrintedLine> lines;
  std::vector<PlacedGlyph> glyphs;
  std::vector<PlacedBarcode> barcodes;
};

}  // namespace printer
