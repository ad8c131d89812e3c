#pragma once

#include <memory>
#include <string>
#include <variant>

#include "printer_demo/core/byte_sink.h"

namespace j57 {

// Opens parallel port number 1..3 ($J57_LPT<n> or /dev/lp<n-1>, or devicePath when
// given) for one print action; the sink closes the device when destroyed.
std::variant<std::unique_ptr<ByteSink>, std::string> OpenParallelSink(int number,
                                                                      const std::string& devicePath = {});

}  // namespace j57
