#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "sim/printer/barcode_symbol.h"

namespace printer {

// Turns the data of a barcode command into modules, following the printer's rules:
//  - UPC-A, JAN13 (EAN-13), JAN8 (EAN-8): the printer computes the check digit itself
//    from the leading 11, 12 or 7 digits; a check digit sent with the data is replaced.
//  - UPC-E: 6 to 8 digits, or 11 to 12 digits of a UPC-A number that has a UPC-E form.
//  - CODE39: digits, capitals, space and $ % + - . /; printed with * start and stop.
//  - ITF: an even number of digits.
//  - CODABAR: digits and - $ : / . +, with start and stop letters A to D; data
//    without them get A at both ends.
//  - CODE93: bytes 0..127, with its two check characters.
//  - CODE128: see EncodeCode128.
// system is m of GS k (0..6 or 65..73). Returns the symbol or why it is not printed.
std::variant<BarcodeSymbol, std::string> EncodeBarcode(int system, std::span<const std::uint8_t> data);

}  // namespace printer
