#include "dongle_driver/host/kirva_udxd_command_line.h"

#include <CLI/CLI.hpp>

#include "dongle_driver/host/usb_id.h"

namespace kirva {

ParsedDriverHostCommandLine ParseDriverHostCommandLine(int argc, const char* const* argv, bool withUsb) {
    ParsedDriverHostCommandLine parsed;
    DriverHostCommandLine& o = parsed.options;
    CLI::App app{"kirva_udxd: runs the KIRVA_UDX dongle driver over a USB bus and serves its device "
                 "\"\\\\.\\MERVO_QTM31RB07_TEST\" on a Unix socket in $KIT_RUNTIME_DIR."};
    auto* simulateOption = app.add_option(
        "--simulate", o.simulate, "plug in a virtual dongle with virtual modules, PLAN = CHANNEL[:COUNT],... e.g. \"6:2,11:1\"");
    if (withUsb) {
        app.add_option("--usb", o.usb,
                       "drive the real dongle with this USB vendor and product id, VID:PID in hex (also $" +
                           std::string(kUsbIdVariable) + ")")
            ->excludes(simulateOption)
            ->check([](const std::string& text) { return ParseUsbId(text) ? "" : "must be VID:PID, e.g. 1a2b:3c4d"; });
    }
    app.add_option("--trace", o.tracePath, "write every USB transfer in hex to FILE");
    app.add_option("--log", o.logPath, "write the driver's trace lines to FILE (\"-\": standard error)");
    app.add_option("--module-password", o.password, "wireless password of the virtual modules (six characters)")
        ->check([](const std::string& text) { return text.size() == 6 ? "" : "must be six characters"; });
    app.add_flag("--interrupt-endpoint", o.interruptEndpoint,
                 "the virtual dongle's third endpoint is an interrupt endpoint (the start fails)");
    app.add_flag("--unplug", o.unplug, "tell the running driver host to pull its dongle out, then exit");
    app.add_flag("--replug", o.replug, "tell the running driver host to plug a fresh dongle in, then exit");
    parsed.outcome = kit::ParseQuietly(app, argc, argv);
    return parsed;
}

}  // namespace kirva
