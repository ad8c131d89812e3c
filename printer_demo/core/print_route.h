#pragma once

#include <optional>
#include <string_view>

namespace j57 {

// Where one print action's bytes go.
enum class PrintRoute { Serial, Lpt1, Lpt2, Lpt3 };

// The serial route while the serial port is open; otherwise the parallel port whose
// name equals parallelName exactly ("LPT1", "LPT2", "LPT3"); otherwise no route.
std::optional<PrintRoute> ChooseRoute(bool serialOpen, std::string_view parallelName);

// 1..3 for the parallel routes, 0 for the serial route.
int ParallelNumber(PrintRoute route);

// "serial", "lpt1", "lpt2", "lpt3".
std::string_view RouteName(PrintRoute route);
std::optional<PrintRoute> RouteFromName(std::string_view name);

}  // namespace j57
