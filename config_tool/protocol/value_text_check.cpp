#include "config_tool/protocol/value_text_check.h"

namespace tarnwave {

std::optional<std::string> CheckValueText(std::string_view text, ValueQuoting quoting) {
  using namespace std::string_view_literals;
  if (text.find_first_of("\r\n\0"sv) != std::string_view::npos)
    return std::string("must not contain a line break (CR, LF) or NUL byte");
  if (quoting == ValueQuoting::Quoted && text.find('"') != std::string_view::npos)
    return std::string("must not contain a double quote (\")");
  return std::nullopt;
}

}  // namespace tarnwave
