#pragma once

#include <memory>
#include <string>
#include <variant>

#include "printer_demo/core/byte_sink.h"

namespace j57 {

// What a print action needs to know about the attachment: the state of the serial
// port, the chosen parallel port name, and the devices themselves. The forms answer
// from their controls; j57-print answers from its command line.
class PrinterConnection {
 public:
  virtual ~PrinterConnection() = default;
  virtual bool serialOpen() const = 0;
  // The open serial port; only asked for while serialOpen() is true.
  virtual ByteSink& serialPort() = 0;
  // The parallel port name as chosen by the user ("LPT1" ... "LPT3" name a port).
  virtual std::string parallelName() const = 0;
  // Opens parallel port number 1..3 for raw output; the returned sink closes it when
  // destroyed. A string is the error text.
  virtual std::variant<std::unique_ptr<ByteSink>, std::string> openParallel(int number) = 0;
};

}  // namespace j57
