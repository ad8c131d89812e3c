#include "printer_demo/sysenv/serial_setup.h"

#include <cstdint>
#include <functional>
#include <limits>

#include "printer_demo/core/number_text.h"

namespace j57 {
namespace {

std::string NotANumber(const char* what, std::string_view text, const char* range) {
  return std::string(what) + " \"" + std::string(text) + "\" is not a whole number " + range + ".";
}

}  // namespace

std::variant<LineNumbers, std::string> ConvertLineTexts(std::string_view baud, std::string_view dataBits,
                                                        std::string_view stopBits) {
  const auto baudValue =
      ParseWholeNumber(baud, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  if (!baudValue) return NotANumber("The baud rate", baud, "of 32 bits");
  const auto data = ParseWholeNumber(dataBits, -32768, 32767);
  if (!data) return NotANumber("The data bits", dataBits, "from -32768 to 32767");
  const auto stop = ParseWholeNumber(stopBits, -32768, 32767);
  if (!stop) return NotANumber("The stop bits", stopBits, "from -32768 to 32767");
  return LineNumbers{*baudValue, static_cast<int>(*data), static_cast<int>(*stop)};
}

int PortNumberFromName(std::string_view name) {
  if (name == "COM1") return 1;
  if (name == "COM2") return 2;
  if (name == "COM3") return 3;
  if (name == "COM4") return 4;
  return 0;
}

std::optional<std::string> OpenSerialPort(CommControl& comm, int portNumber, const LineNumbers& line) {
  if (comm.PortOpen()) comm.closePort();
  const std::string settings =
      std::to_string(line.baud) + ",N," + std::to_string(line.dataBits) + "," + std::to_string(line.stopBits);
  using Step = std::function<std::optional<std::string>()>;
  const Step steps[] = {
      [&] { return comm.setCommPort(portNumber); },   [&] { return comm.setOutBufferSize(1024); },
      [&] { return comm.setInBufferSize(512); },      [&] { return comm.setRThreshold(1); },
      [&] { return comm.setSThreshold(1); },          [&] { return comm.setInputLen(1); },
      [&] { return comm.setSettings(settings); },     [&] { return comm.setPortOpen(true); },
      [&] { return comm.setOutBufferCount(0); },      [&] { return comm.setInBufferCount(0); },
  };
  for (const Step& step : steps) {
    if (auto error = step()) {
      comm.closePort();
      return error;
    }
  }
  return std::nullopt;
}

}  // namespace j57
