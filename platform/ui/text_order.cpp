#include "platform/ui/text_order.h"

#include <algorithm>

namespace kit::ui {

namespace {
unsigned char Fold(char c) {
  auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + 32) : u;
}
}  // namespace

bool TextLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Fold(x) < Fold(y); });
}

}  // namespace kit::ui
