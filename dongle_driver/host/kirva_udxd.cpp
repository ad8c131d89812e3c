// kirva_udxd: the driver host. Loads the dongle driver, plugs a dongle in
// (the virtual one, with virtual modules placed on channels, or with --usb a
// real one through libusb, taken on arrival and let go on removal), starts it
// through plug and play and serves its device on a Unix socket until it is
// told to end. "unplug" and "replug" on its control socket (kirva_udxd
// --unplug / --replug) or SIGUSR1 and SIGUSR2 pull the dongle out (surprise
// removal) and plug a fresh one in; SIGINT/SIGTERM end the host.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "dongle_driver/host/device_server.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/host_control.h"
#ifdef KIRVA_HAS_LIBUSB
#include "dongle_driver/host/libusb_backend.h"
#endif
#include "dongle_driver/host/usb_id.h"
#include "dongle_driver/host/simulation_plan.h"
#include "dongle_driver/host/transfer_log.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/devio/device_registry.h"
#include "sim/radio/radio_medium.h"
#include "sim/radio/virtual_dongle.h"
#ifdef KIT_RADIO_HAS_MODULE_ENGINE
#include "sim/radio/engine_answerer.h"
#endif
#include "platform/cli/parse_command_line.h"

namespace {

std::string PidFilePath() { return kit::devio::RuntimeDirectory() + "/kirva_udxd.pid"; }

std::shared_ptr<sim::radio::ModuleAnswerer> MakeAnswerer(const kirva::RadioAddress& address,
                                                         const std::string& password) {
#ifdef KIT_RADIO_HAS_MODULE_ENGINE
    return std::make_shared<sim::radio::EngineAnswerer>(address, password);
#else
    (void)address;
    (void)password;
    return nullptr;  // modules then answer searches only
#endif
}

// --unplug and --replug: the command goes over the host's own socket, so no
// other process can be hit by mistake.
int SendToHost(const std::string& command) {
    std::string error;
    const auto reply = kirva::SendHostCommand(command, error);
    if (!reply) {
        std::cerr << "kirva_udxd: " << error << "\n";
        return 1;
    }
    std::cout << *reply << "\n";
    return reply->rfind("ok", 0) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"kirva_udxd: runs the KIRVA_UDX dongle driver over a USB bus and serves its device "
                 "\"\\\\.\\MERVO_QTM31RB07_TEST\" on a Unix socket in $KIT_RUNTIME_DIR."};
    std::string simulate;
    std::string tracePath;
    std::string logPath;
    std::string password;
    bool interruptEndpoint = false;
    std::string usb;
    bool unplug = false;
    bool replug = false;
    auto* simulateOption = app.add_option(
        "--simulate", simulate, "plug in a virtual dongle with virtual modules, PLAN = CHANNEL[:COUNT],... e.g. \"6:2,11:1\"");
#ifdef KIRVA_HAS_LIBUSB
    app.add_option("--usb", usb,
                   "drive the real dongle with this USB vendor and product id, VID:PID in hex (also $" +
                       std::string(kirva::kUsbIdVariable) + ")")
        ->excludes(simulateOption)
        ->check([](const std::string& text) { return kirva::ParseUsbId(text) ? "" : "must be VID:PID, e.g. 1a2b:3c4d"; });
#else
    (void)simulateOption;
#endif
    app.add_option("--trace", tracePath, "write every USB transfer in hex to FILE");
    app.add_option("--log", logPath, "write the driver's trace lines to FILE (\"-\": standard error)");
    app.add_option("--module-password", password, "wireless password of the virtual modules (six characters)")
        ->check([](const std::string& text) { return text.size() == 6 ? "" : "must be six characters"; });
    app.add_flag("--interrupt-endpoint", interruptEndpoint,
                 "the virtual dongle's third endpoint is an interrupt endpoint (the start fails)");
    app.add_flag("--unplug", unplug, "tell the running driver host to pull its dongle out, then exit");
    app.add_flag("--replug", replug, "tell the running driver host to plug a fresh dongle in, then exit");
    if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

    if (unplug) return SendToHost("unplug");
    if (replug) return SendToHost("replug");
    // Signals are taken through a descriptor; they are blocked before any
    // thread exists so that every thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2, SIGHUP}) sigaddset(&signals, s);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::string error;
#ifdef KIRVA_HAS_LIBUSB
    if (usb.empty() && simulate.empty())
        if (const char* fromEnvironment = std::getenv(kirva::kUsbIdVariable); fromEnvironment && *fromEnvironment) {
            if (!kirva::ParseUsbId(fromEnvironment)) {
                std::cerr << "kirva_udxd: " << kirva::kUsbIdVariable << " must be VID:PID, e.g. 1a2b:3c4d\n";
                return 2;
            }
            usb = fromEnvironment;
        }
    kirva::LibusbBackend usbBackend;  // outlives the host, which holds its ports
#endif
    const auto plan = kirva::ParseSimulationPlan(simulate, error);
    if (!plan) {
        std::cerr << "kirva_udxd: --simulate: " << error << "\n";
        return 2;
    }

    if (!kit::devio::PrepareRuntimeDirectory(error)) {
        std::cerr << "kirva_udxd: " << error << "\n";
        return 1;
    }

    kirva::DriverHost host;
    if (host.load() != wdm::Status::Success) {
        std::cerr << "kirva_udxd: the driver did not load\n";
        return 1;
    }
    std::FILE* log = nullptr;
    if (logPath == "-") log = stderr;
    else if (!logPath.empty() && !(log = std::fopen(logPath.c_str(), "w"))) {
        std::cerr << "kirva_udxd: cannot write " << logPath << "\n";
        return 1;
    }
    if (log)
        host.trace().setSink([log](kirva::TraceComponent component, std::string_view line) {
            std::string text(line);
            while (!text.empty() && text.back() == '\n') text.pop_back();
            std::fprintf(log, "[%s] %s\n", std::string(kirva::TraceComponentName(component)).c_str(), text.c_str());
            std::fflush(log);
        });
    kirva::TransferLog transfers;
    if (!tracePath.empty()) {
        if (!transfers.open(tracePath)) {
            std::cerr << "kirva_udxd: cannot write " << tracePath << "\n";
            return 1;
        }
        host.bus().setTransferObserver(
            [&transfers](const wdm::usb::Urb& urb, bool completed) { transfers.record(urb, completed); });
    }

    auto medium = std::make_shared<sim::radio::RadioMedium>();
    for (const auto& placement : plan->placements)
        for (int i = 0; i < placement.count; ++i) {
            const auto address = kirva::SimulatedModuleAddress(placement.channel, i);
            medium->add(std::make_shared<sim::radio::RadioModule>(address, placement.channel,
                                                                  MakeAnswerer(address, password)));
            std::cout << "module " << kirva::FormatAddress(address) << " on channel " << placement.channel << "\n";
        }
    sim::radio::DongleConfig config;
    if (interruptEndpoint) config = sim::radio::WithInterruptThirdEndpoint(config);
    auto plugDongle = [&] {
        std::shared_ptr<wdm::usb::UsbDevicePort> port;
#ifdef KIRVA_HAS_LIBUSB
        if (!usb.empty()) {
            auto real = usbBackend.open(error);
            if (!real) {
                std::cerr << "kirva_udxd: " << error << std::endl;
                return wdm::Status::NoSuchDevice;
            }
            port = std::move(real);
        }
#endif
        if (!port) port = std::make_shared<sim::radio::VirtualDongle>(config, medium);
        const auto status = host.plugIn(port);
        if (status != wdm::Status::Success)
            std::cerr << "kirva_udxd: the dongle did not start: " << wdm::StatusName(status) << "\n";
        else
            std::cout << "dongle started" << std::endl;
        return status;
    };
#ifdef KIRVA_HAS_LIBUSB
    // The real dongle comes through the backend's arrivals (one is queued at
    // once when it is already plugged in).
    if (!usb.empty()) {
        if (!usbBackend.start(*kirva::ParseUsbId(usb), error)) {
            std::cerr << "kirva_udxd: " << error << "\n";
            return 1;
        }
        std::cout << "waiting for the USB dongle " << usb << (usbBackend.hotplug() ? "" : " (no hotplug: plugged in now)")
                  << std::endl;
    } else
#endif
    if (plugDongle() != wdm::Status::Success && host.devicePresent()) host.removeOrderly();

    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);

    kirva::DeviceServer server(host, kit::devio::SocketPathFor(kirva::kDevicePath.substr(4)));
    if (signalFd < 0 || !server.listen(error)) {
        std::cerr << "kirva_udxd: " << (signalFd < 0 ? std::string("signalfd failed") : error) << "\n";
        return 1;
    }
    kirva::HostControl control;
    if (!control.listen(error) || !kirva::WritePidFile(PidFilePath(), error)) {
        std::cerr << "kirva_udxd: " << error << "\n";
        return 1;
    }
    std::cout << "serving " << kirva::kDevicePath << " on "
              << kit::devio::SocketPathFor(kirva::kDevicePath.substr(4)) << std::endl;

    for (bool running = true; running;) {
        int usbEvents = -1;
#ifdef KIRVA_HAS_LIBUSB
        if (!usb.empty()) usbEvents = usbBackend.eventHandle();
#endif
        pollfd fds[] = {{server.listenHandle(), POLLIN, 0},
                        {signalFd, POLLIN, 0},
                        {control.listenHandle(), POLLIN, 0},
                        {usbEvents, POLLIN, 0}};
        if (::poll(fds, 4, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents & POLLIN) server.acceptOne();
#ifdef KIRVA_HAS_LIBUSB
        for (kirva::LibusbBackend::Change change; (fds[3].revents & POLLIN) && usbBackend.nextChange(change);) {
            if (change == kirva::LibusbBackend::Change::Arrived && !host.devicePresent()) {
                plugDongle();
            } else if (change == kirva::LibusbBackend::Change::Left && host.devicePresent()) {
                std::cout << "dongle pulled out" << std::endl;
                host.pullOut();
            }
        }
#endif
        if (fds[2].revents & POLLIN) {
            if (const auto command = control.accept()) {
                if (*command == "unplug") {
                    if (host.devicePresent()) {
                        std::cout << "dongle pulled out" << std::endl;
                        host.pullOut();
                    }
                    control.answer("ok: no dongle plugged in\n");
                } else if (*command == "replug") {
                    const bool plugged = host.devicePresent() || plugDongle() == wdm::Status::Success;
                    control.answer(plugged ? "ok: dongle plugged in\n" : "error: the dongle did not start\n");
                } else {
                    control.answer("error: unknown command\n");
                }
            }
        }
        if (fds[1].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signalFd, &info, sizeof info) != sizeof info) continue;
            switch (info.ssi_signo) {
                case SIGUSR1:
                    std::cout << "dongle pulled out" << std::endl;
                    host.pullOut();
                    break;
                case SIGUSR2:
                    if (!host.devicePresent()) plugDongle();
                    break;
                default:
                    running = false;
            }
        }
    }
    server.stop();
    ::unlink(PidFilePath().c_str());
    if (host.devicePresent()) host.removeOrderly();
    host.trace().setSink(nullptr);
    if (log && log != stderr) std::fclose(log);
    ::close(signalFd);
    return 0;
}
