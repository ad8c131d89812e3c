#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "sim/printer/barcode_symbol.h"

namespace printer {

// Code 128 the way the printer takes it: the data start with a code set selection
// ("{A", "{B" or "{C") and may switch sets with the same pairs; "{S" shifts one
// character between A and B, "{1" to "{4" are the function characters and "{{" is a
// literal "{". In set C every byte is the value 0..99 of one digit pair. The check
// character is computed by the printer. Returns the symbol or the reason it cannot
// be printed.
std::variant<BarcodeSymbol, std::string> EncodeCode128(std::span<const std::uint8_t> data);

}  // namespace printer
