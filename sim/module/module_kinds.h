#pragma once

// Kinds of virtual module that kit-sim modules can put on each port, for showing a
// search end to end: "echo" (echoes every request, as after a reset), "quiet" (does
// not echo), "silent" (the port opens but nothing ever answers), "garbage" (answers
// bytes that are no reply).

#include <optional>
#include <string>
#include <vector>

#include "sim/module/serial_module_server.h"

namespace kitsim {

struct ModuleKind {
  bool echo = true;
  ModuleFaults faults;
};

// One kind per comma-separated name; nullopt (with the bad name in error) when a name
// is unknown or the list is empty.
std::optional<std::vector<ModuleKind>> ParseModuleKinds(const std::string& list, const ModuleFaults& common,
                                                        std::string& error);

}  // namespace kitsim
