#pragma once

#include <string>

#include "printer_demo/core/bytes.h"

namespace j57 {

// The pieces joined into the one byte stream the printer receives, as a string
// so that test failures print it readably.
inline std::string Stream(const Pieces& pieces) {
  const Bytes all = Join(pieces);
  return std::string(all.begin(), all.end());
}

}  // namespace j57
