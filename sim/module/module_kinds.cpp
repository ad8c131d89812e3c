#include "sim/module/module_kinds.h"
#include <algorithm>

namespace kitsim {

std::optional<std::vector<ModuleKind>> ParseModuleKinds(const std::string& list, const ModuleFaults& common,
                                                        std::string& error) {
  std::vector<ModuleKind> kinds;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    const std::string name = list.substr(start, end - start);
    ModuleKind kind{true, common};
    if (name == "echo") {
      kind.echo = true;
    } else if (name == "quiet") {
      kind.echo = false;
    } else if (name == "silent") {
      kind.faults.silent = true;
    } else if (name == "garbage") {
      kind.faults.garbage = true;
    } else {
      error = "unknown module kind '" + name + "' (echo, quiet, silent, garbage)";
      return std::nullopt;
    }
    kinds.push_back(kind);
    if (end == list.size()) break;
    start = end + 1;
  }
  if (kinds.size() > 16) {
    error = "at most 16 modules";
    return std::nullopt;
  }
  return kinds;
}

}  // namespace kitsim
