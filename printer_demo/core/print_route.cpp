#include "printer_demo/core/print_route.h"

#include <array>

namespace j57 {
namespace {

constexpr std::array<std::string_view, 4> kNames = {"serial", "lpt1", "lpt2", "lpt3"};

}  // namespace

std::optional<PrintRoute> ChooseRoute(bool serialOpen, std::string_view parallelName) {
  if (serialOpen) return PrintRoute::Serial;
  if (parallelName == "LPT1") return PrintRoute::Lpt1;
  if (parallelName == "LPT2") return PrintRoute::Lpt2;
  if (parallelName == "LPT3") return PrintRoute::Lpt3;
  return std::nullopt;
}

int ParallelNumber(PrintRoute route) { return static_cast<int>(route); }

std::string_view RouteName(PrintRoute route) { return kNames[static_cast<std::size_t>(route)]; }

std::optional<PrintRoute> RouteFromName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (kNames[i] == name) return static_cast<PrintRoute>(i);
  return std::nullopt;
}

}  // namespace j57
