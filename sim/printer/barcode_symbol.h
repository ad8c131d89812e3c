#pragma once

#include <string>
#include <vector>

namespace printer {

// A linear barcode as the printer draws it: one entry per module, true for a bar,
// without quiet zones; and the human-readable text printed with it.
struct BarcodeSymbol {
  std::vector<bool> modules;
  std::string humanReadable;
  std::string symbology;  // e.g. "CODE128"
};

}  // namespace printer
