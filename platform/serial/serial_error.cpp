#include "platform/serial/serial_error.h"

namespace kit {

const char* SerialErrorName(SerialError error) {
  switch (error) {
    case SerialError::Ok: return "ok";
    case SerialError::InvalidArgument: return "invalid argument";
    case SerialError::NotOpen: return "port not open";
    case SerialError::NotFound: return "no such port";
    case SerialError::Busy: return "port busy";
    case SerialError::Unsupported: return "not a serial port";
    case SerialError::OsFailure: return "system call failed";
    case SerialError::Timeout: return "timed out";
    case SerialError::DeviceGone: return "device gone";
    case SerialError::Woken: return "woken";
  }
  return "unknown";
}

}  // namespace kit
