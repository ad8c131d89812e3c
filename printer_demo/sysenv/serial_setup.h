#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "printer_demo/sysenv/comm_control.h"

namespace j57 {

// The numbers of the first window's line boxes after conversion.
struct LineNumbers {
  long baud = 9600;
  int dataBits = 8;
  int stopBits = 1;
};

// Converts the baud text to a 32-bit number and the data and stop bit texts to
// 16-bit numbers. Returns the error text naming the box whose text is no number.
std::variant<LineNumbers, std::string> ConvertLineTexts(std::string_view baud, std::string_view dataBits,
                                                        std::string_view stopBits);

// "COM1" -> 1 ... "COM4" -> 4 (exact); any other text is 0.
int PortNumberFromName(std::string_view name);

// Prepares and opens the serial control: port number, buffer sizes 1024 and 512,
// thresholds 1, input length 1, the line without parity, then opens the port and
// empties both buffers. On a failure the port is left closed and the error returned.
std::optional<std::string> OpenSerialPort(CommControl& comm, int portNumber, const LineNumbers& line);

}  // namespace j57
