#include "sim/printer/code128_encoder.h"

#include <array>
#include <vector>

namespace printer {
namespace {

// Bar and space widths of the 106 symbol characters (values 0..105) and the stop.
constexpr std::array<const char*, 107> kPatterns = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

constexpr int kCodeC = 99, kCodeB = 100, kCodeA = 101, kFnc1 = 102, kShift = 98, kStartA = 103;
constexpr int kStop = 106;

enum class Set { A, B, C };

// The value of byte c in set A or B, or -1 when the set has no such character.
int ValueIn(Set set, std::uint8_t c) {
  if (set == Set::A) {
    if (c < 0x20) return c + 64;
    if (c < 0x60) return c - 0x20;
    return -1;
  }
  if (c >= 0x20 && c < 0x80) return c - 0x20;
  return -1;
}

void AppendPattern(std::vector<bool>& modules, int value) {
  bool bar = true;
  for (const char* w = kPatterns[static_cast<std::size_t>(value)]; *w; ++w, bar = !bar)
    modules.insert(modules.end(), static_cast<std::size_t>(*w - '0'), bar);
}

}  // namespace

std::variant<BarcodeSymbol, std::string> EncodeCode128(std::span<const std::uint8_t> data) {
  if (data.size() < 2 || data[0] != '{' || (data[1] != 'A' && data[1] != 'B' && data[1] != 'C'))
    return std::string("CODE128 data must start with a code set selection ({A, {B or {C)");
  std::vector<int> values;
  std::string text;
  Set set = static_cast<Set>(data[1] - 'A');
  values.push_back(kStartA + static_cast<int>(set));
  bool shifted = false;
  for (std::size_t i = 2; i < data.size(); ++i) {
    const std::uint8_t c = data[i];
    if (c == '{' && set != Set::C) {
      if (i + 1 >= data.size()) return std::string("CODE128 data end with a lone {");
      const std::uint8_t code = data[++i];
      switch (code) {
        case 'A': case 'B': case 'C': {
          const Set next = static_cast<Set>(code - 'A');
          if (next != set) values.push_back(next == Set::A ? kCodeA : next == Set::B ? kCodeB : kCodeC);
          set = next;
          continue;
        }
        case 'S': values.push_back(kShift); shifted = true; continue;
        case '1': values.push_back(kFnc1); continue;
        case '2': values.push_back(97); continue;
        case '3': values.push_back(96); continue;
        case '4': values.push_back(set == Set::A ? 101 : 100); continue;
        case '{': break;
        default: return "CODE128 has no code {" + std::string(1, static_cast<char>(code));
      }
    }
    if (set == Set::C) {
      if (c == '{') {
        // In set C a "{" still starts a selection; pairs are the values 0..99.
        if (i + 1 >= data.size()) return std::string("CODE128 data end with a lone {");
        const std::uint8_t code = data[++i];
        if (code == 'A' || code == 'B') {
          set = static_cast<Set>(code - 'A');
          values.push_back(set == Set::A ? kCodeA : kCodeB);
          continue;
        }
        if (code == '1') { values.push_back(kFnc1); continue; }
        if (code == 'C') continue;
        return "CODE128 has no code {" + std::string(1, static_cast<char>(code)) + " in set C";
      }
      if (c > 99) return "CODE128 set C takes the values 0 to 99, not " + std::to_string(c);
      values.push_back(c);
      text += static_cast<char>('0' + c / 10);
      text += static_cast<char>('0' + c % 10);
      continue;
    }
    const Set use = shifted ? (set == Set::A ? Set::B : Set::A) : set;
    shifted = false;
    const int value = ValueIn(use, c);
    if (value < 0) return "CODE128 set " + std::string(use == Set::A ? "A" : "B") + " has no byte " + std::to_string(c);
    values.push_back(value);
    text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : ' ';
  }
  if (values.size() < 2) return std::string("CODE128 data hold no character");
  int sum = values[0];
  for (std::size_t i = 1; i < values.size(); ++i) sum += static_cast<int>(i) * values[i];
  values.push_back(sum % 103);
  values.push_back(kStop);
  BarcodeSymbol symbol;
  symbol.symbology = "CODE128";
  symbol.humanReadable = text;
  for (int value : values) AppendPattern(symbol.modules, value);
  return symbol;
}

}  // namespace printer
