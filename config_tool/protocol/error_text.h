#pragma once

#include <string_view>

namespace tarnwave {

// Message text of a result code; empty for codes without one (0, 200, 241, ...).
std::string_view ErrorText(int code);

}  // namespace tarnwave
