#pragma once
// kirva_udxd's command line, read from argv without printing and without touching
// the bus, the socket or a file.
#include <string>

#include "platform/cli/quiet_parse.h"

namespace kirva {

struct DriverHostCommandLine {
    std::string simulate;  // the simulation plan as typed: CHANNEL[:COUNT],...
    std::string tracePath;
    std::string logPath;
    std::string password;
    std::string usb;  // VID:PID of a real dongle, checked; empty without --usb
    bool interruptEndpoint = false;
    bool unplug = false;
    bool replug = false;
};

struct ParsedDriverHostCommandLine {
    DriverHostCommandLine options;
    // Set when the program ends now (help or a usage error), with what it prints.
    kit::CommandLineOutcome outcome;
};

// `withUsb`: the program can drive a real dongle (built with libusb), so --usb is offered.
ParsedDriverHostCommandLine ParseDriverHostCommandLine(int argc, const char* const* argv, bool withUsb);

}  // namespace kirva
