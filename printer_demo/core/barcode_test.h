#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "printer_demo/core/bytes.h"

namespace j57 {

// One entry of the barcode type list.
struct BarcodeType {
  std::string_view listText;  // as shown in the type list, e.g. "ITF"
  std::uint8_t system;        // the barcode system byte m
  Bytes data;                 // the bytes after m: data and 00, or the count byte and data
  std::string_view caption;   // e.g. "ITF Test"
  bool extraLineFeed;         // one more LF after the barcode
};

// The three buttons of the barcode frame.
enum class BarcodeSize { Normal, Widen, Higher };

// The nine types in list order.
std::span<const BarcodeType> BarcodeTypes();

// The type whose list text equals text exactly (case-sensitive), or nullptr.
const BarcodeType* FindBarcodeType(std::string_view text);

// The pieces of one barcode test: caption, LF, HRI and size settings, the barcode,
// ESC FF and, for UPC-A and JAN8, one more LF.
Pieces BarcodeTestPieces(const BarcodeType& type, BarcodeSize size);

// The initial text of the type list.
inline constexpr std::string_view kInitialBarcodeType = "ITF";

}  // namespace j57
