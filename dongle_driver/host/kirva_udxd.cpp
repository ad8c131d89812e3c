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
#include "dongle_driver/host/kirva_udxd_command_line.h"
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
#ifdef KIRVA_HAS_LIBUSB
    constexpr bool kWithUsb = true;
#else
    constexpr bool kWithUsb = false;
#endif
    const auto parsed = kirva::ParseDriverHostCommandLine(argc, argv, kWithUsb);
    if (parsed.outcome.exitCode) return parsed.outcome.report(std::cout, std::cerr);
    const std::string& simulate = parsed.options.simulate;
    const std::string& tracePath = parsed.options.tracePath;
    const std::string& logPath = parsed.options.logPath;
    const std::string& password = parsed.options.password;
    const bool interruptEndpoint = parsed.options.interruptEndpoint;
    std::string usb = parsed.options.usb;
    const bool unplug = parsed.options.unplug;
    const bool replug = parsed.options.replug;

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
