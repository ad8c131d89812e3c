#include "printer_demo/core/barcode_test.h"

#include <vector>

#include "printer_demo/core/escpos_commands.h"

namespace j57 {
namespace {

Bytes Terminated(std::string_view digits) {
  Bytes bytes = TextBytes(digits);
  bytes.push_back(0x00);
  return bytes;
}

const std::vector<BarcodeType>& Table() {
  static const std::vector<BarcodeType> types{
      {"UPC-A", 0x00, Terminated("012345678901"), "UPC-A Test", true},
      {"UPC-E", 0x01, Terminated("012345678901"), "UPC-E Test", false},
      {"JAN13", 0x02, Terminated("0123456789011"), "JAN13 Test", false},
      {"JAN8", 0x03, Terminated("01234567"), "JAN8 Test", true},
      {"CODE39", 0x04, Terminated("012345678901"), "CODE39 Test", false},
      {"ITF", 0x05, Terminated("012345678901"), "ITF Test", false},
      {"CODABAR", 0x06, Terminated("012345678901"), "CODABAR Test", false},
      {"CODE93", 0x48, Bytes{0x06, 0x43, 0x6F, 0x65, 0x0D, 0x39, 0x33}, "CODE93 Test", false},
      {"CODE128", 0x49, Bytes{0x0A, 0x7B, 0x42, 0x4E, 0x6F, 0x2E, 0x7B, 0x43, 0x0C, 0x22, 0x38},
       "CODE128 Test", false},
  };
  return types;
}

}  // namespace

std::span<const BarcodeType> BarcodeTypes() { return Table(); }

const BarcodeType* FindBarcodeType(std::string_view text) {
  for (const BarcodeType& type : Table())
    if (type.listText == text) return &type;
  return nullptr;
}

Pieces BarcodeTestPieces(const BarcodeType& type, BarcodeSize size) {
  const std::uint8_t height = size == BarcodeSize::Higher ? 0x78 : 0x64;
  const std::uint8_t width = size == BarcodeSize::Widen ? 0x04 : 0x02;
  Bytes barcode{0x1D, 0x6B, type.system};
  barcode.insert(barcode.end(), type.data.begin(), type.data.end());
  Pieces pieces{TextBytes(type.caption), cmd::LF(),
                cmd::PageMoveDown100(), cmd::HriFontA(),
                cmd::HriAboveAndBelow(), cmd::BarcodeHeight(height),
                cmd::BarcodeWidth(width), barcode,
                cmd::PrintPageData()};
  if (type.extraLineFeed) pieces.push_back(cmd::LF());
  return pieces;
}

}  // namespace j57
