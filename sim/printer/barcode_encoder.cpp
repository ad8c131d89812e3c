#include "sim/printer/barcode_encoder.h"

#include <zint.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "sim/printer/code128_encoder.h"

namespace printer {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Check digit of UPC and EAN numbers: weights 3 and 1 from the right-most data digit.
char CheckDigit(std::string_view digits) {
  int sum = 0;
  bool three = true;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it, three = !three) sum += (*it - '0') * (three ? 3 : 1);
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// The UPC-E form (number system, six digits) of an 11-digit UPC-A number, if it has one.
std::optional<std::string> CompressUpcA(std::string_view a) {
  if (a[0] != '0' && a[0] != '1') return std::nullopt;
  const std::string_view maker = a.substr(1, 5), item = a.substr(6, 5);
  std::string e(1, a[0]);
  if (maker.substr(2) == "000" || maker.substr(2) == "100" || maker.substr(2) == "200") {
    if (item.substr(0, 2) != "00") return std::nullopt;
    e += std::string(maker.substr(0, 2)) + std::string(item.substr(2, 3)) + maker[2];
  } else if (maker.substr(3) == "00") {
    if (item.substr(0, 3) != "000") return std::nullopt;
    e += std::string(maker.substr(0, 3)) + std::string(item.substr(3, 2)) + "3";
  } else if (maker[4] == '0') {
    if (item.substr(0, 4) != "0000") return std::nullopt;
    e += std::string(maker.substr(0, 4)) + item[4] + "4";
  } else {
    if (item.substr(0, 4) != "0000" || item[4] < '5') return std::nullopt;
    e += std::string(maker) + item[4];
  }
  return e;
}

struct ZintDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

std::variant<BarcodeSymbol, std::string> Zint(int type, const std::string& input, std::string name,
                                               std::string humanReadable) {
  std::unique_ptr<zint_symbol, ZintDeleter> symbol(ZBarcode_Create());
  if (!symbol) return std::string("out of memory");
  symbol->symbology = type;
  const int error = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(input.data()),
                                    static_cast<int>(input.size()));
  if (error >= ZINT_ERROR) return name + " cannot encode \"" + input + "\": " + symbol->errtxt;
  BarcodeSymbol result;
  result.symbology = std::move(name);
  result.humanReadable = std::move(humanReadable);
  // Linear symbols are one row; the bits of row 0 are the modules, least significant first.
  const int width = std::min(symbol->width, 144 * 8);
  for (int column = 0; column < width; ++column)
    result.modules.push_back((symbol->encoded_data[0][column >> 3] >> (column & 7)) & 1);
  return result;
}

std::variant<BarcodeSymbol, std::string> Upc(std::string digits, bool upcE) {
  if (!AllDigits(digits)) return std::string("UPC data must be digits");
  if (!upcE) {
    if (digits.size() != 11 && digits.size() != 12) return std::string("UPC-A takes 11 or 12 digits");
    digits.resize(11);
    return Zint(BARCODE_UPCA, digits, "UPC-A", digits + CheckDigit(digits));
  }
  std::string e;  // number system and six digits
  if (digits.size() == 6) {
    e = "0" + digits;
  } else if (digits.size() == 7 || digits.size() == 8) {
    e = digits.substr(0, 7);
  } else if (digits.size() == 11 || digits.size() == 12) {
    auto compressed = CompressUpcA(std::string_view(digits).substr(0, 11));
    if (!compressed) return "UPC-E: " + digits.substr(0, 11) + " is a UPC-A number without a UPC-E form";
    e = *compressed;
  } else {
    return std::string("UPC-E takes 6, 7, 8, 11 or 12 digits");
  }
  if (e[0] != '0' && e[0] != '1') return std::string("UPC-E number system must be 0 or 1");
  auto symbol = Zint(BARCODE_UPCE, e, "UPC-E", e);
  if (auto* s = std::get_if<BarcodeSymbol>(&symbol)) {
    // The human-readable text carries the check digit of the expanded number.
    std::string expanded;
    const char last = e[6];
    const std::string_view x = std::string_view(e).substr(1);
    if (last <= '2') expanded = std::string(1, e[0]) + std::string(x.substr(0, 2)) + last + "0000" + std::string(x.substr(2, 3));
    else if (last == '3') expanded = std::string(1, e[0]) + std::string(x.substr(0, 3)) + "00000" + std::string(x.substr(3, 2));
    else if (last == '4') expanded = std::string(1, e[0]) + std::string(x.substr(0, 4)) + "00000" + x[4];
    else expanded = std::string(1, e[0]) + std::string(x.substr(0, 5)) + "0000" + last;
    s->humanReadable = e + CheckDigit(expanded);
  }
  return symbol;
}

std::variant<BarcodeSymbol, std::string> Ean(std::string digits, std::size_t length) {
  if (!AllDigits(digits) || (digits.size() != length && digits.size() != length - 1))
    return "JAN" + std::to_string(length) + " takes " + std::to_string(length - 1) + " or " +
           std::to_string(length) + " digits";
  digits.resize(length - 1);
  return Zint(BARCODE_EANX, digits, "JAN" + std::to_string(length), digits + CheckDigit(digits));
}

std::variant<BarcodeSymbol, std::string> Codabar(std::string data) {
  const auto isStartStop = [](char c) { return c >= 'A' && c <= 'D'; };
  if (data.empty()) return std::string("CODABAR data are empty");
  if (!isStartStop(data.front()) || !isStartStop(data.back())) {
    // Data without start and stop letters get A at both ends.
    data = "A" + data + "A";
  }
  return Zint(BARCODE_CODABAR, data, "CODABAR", data);
}

std::string HumanReadable93(const std::string& data) {
  std::string text;
  for (unsigned char c : data) {
    if (c >= 0x20 && c < 0x7F) text += static_cast<char>(c);
    else text += ' ';
  }
  return text;
}

}  // namespace

std::variant<BarcodeSymbol, std::string> EncodeBarcode(int system, std::span<const std::uint8_t> data) {
  const std::string text(data.begin(), data.end());
  // Both forms of GS k name the same systems: 0..6 and 65..71; 72 and 73 only in the second.
  const int kind = system >= 65 ? system - 65 : system;
  switch (kind) {
    case 0: return Upc(text, false);
    case 1: return Upc(text, true);
    case 2: return Ean(text, 13);
    case 3: return Ean(text, 8);
    case 4: {
      if (text.empty()) return std::string("CODE39 data are empty");
      auto symbol = Zint(BARCODE_CODE39, text, "CODE39", "*" + text + "*");
      return symbol;
    }
    case 5:
      if (!AllDigits(text) || text.size() % 2 != 0) return std::string("ITF takes an even number of digits");
      return Zint(BARCODE_C25INTER, text, "ITF", text);
    case 6: return Codabar(text);
    case 7: {
      if (text.empty()) return std::string("CODE93 data are empty");
      for (unsigned char c : text)
        if (c > 0x7F) return std::string("CODE93 takes bytes 0 to 127");
      return Zint(BARCODE_CODE93, text, "CODE93", HumanReadable93(text));
    }
    case 8: return EncodeCode128(data);
    default: return "no barcode system " + std::to_string(system);
  }
}

}  // namespace printer
