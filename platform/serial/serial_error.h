#pragma once

// Error values of the serial port service. Every call of the service returns one
// of these; the errno of an OS failure stays available from the device that failed.

namespace kit {

enum class [[nodiscard]] SerialError {
  Ok,
  InvalidArgument,  // the caller passed something the port cannot take (path, settings)
  NotOpen,          // the call needs an open port
  NotFound,         // no device at that path
  Busy,             // another process (or another handle here) has the port open
  Unsupported,      // the path is not a terminal device, or the setting is not possible
  OsFailure,        // a system call failed; see SerialDevice::lastErrno()
  Timeout,          // a write did not complete within its time-out
  DeviceGone,       // hang-up: the device went away (read returned 0, EIO, POLLHUP)
  Woken,            // a blocked read was stopped through SerialDevice::wake()
};

// Short English name of an error value, for logs and command-line messages.
const char* SerialErrorName(SerialError error);

}  // namespace kit
