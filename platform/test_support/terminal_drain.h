#pragma once

#include <cstddef>
#include <string>

#include "platform/serial/pseudo_terminal.h"

namespace kit::test_support {

// Reads what arrives at `terminal` until `expected` bytes are there, the line
// stays empty for 50 reads of 100 ms each (a generous wait for a busy machine),
// or a read fails. Returns everything read, which may be more or less than
// `expected`, so the caller's comparison shows what went wrong.
std::string DrainTerminal(kit::PseudoTerminal& terminal, std::size_t expected);

}  // namespace kit::test_support
