// kirva_udxd: the driver host. Loads the dongle driver, plugs a dongle in
// (the virtual one, with virtual modules placed on channels), starts it
// through plug and play and serves its device on a Unix socket until it is
// told to end. SIGUSR1 pulls the dongle out (surprise removal), SIGUSR2 plugs
// a fresh one in, SIGINT/SIGTERM end the host.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "dongle_driver/host/device_server.h"
#include "dongle_driver/host/driver_host.h"
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

int SendSignalToHost(int signal) {
    std::ifstream pidFile(PidFilePath());
    long pid = 0;
    if (!(pidFile >> pid) || pid <= 1) {
        std::cerr << "kirva_udxd: no driver host runs (no " << PidFilePath() << ")\n";
        return 1;
    }
    if (::kill(static_cast<pid_t>(pid), signal) != 0) {
        std::cerr << "kirva_udxd: cannot signal the driver host " << pid << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = kirva::ParseDriverHostCommandLine(argc, argv);
    if (parsed.outcome.exitCode) return parsed.outcome.report(std::cout, std::cerr);
    const std::string& simulate = parsed.options.simulate;
    const std::string& tracePath = parsed.options.tracePath;
    const std::string& logPath = parsed.options.logPath;
    const std::string& password = parsed.options.password;
    const bool interruptEndpoint = parsed.options.interruptEndpoint;
    const bool unplug = parsed.options.unplug;
    const bool replug = parsed.options.replug;

    if (unplug) return SendSignalToHost(SIGUSR1);
    // Signals are taken through a descriptor; they are blocked before any
    // thread exists so that every thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2, SIGHUP}) sigaddset(&signals, s);
    if (replug) return SendSignalToHost(SIGUSR2);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::string error;
    const auto plan = kirva::ParseSimulationPlan(simulate, error);
    if (!plan) {
        std::cerr << "kirva_udxd: --simulate: " << error << "\n";
        return 2;
    }

    const std::string runtime = kit::devio::RuntimeDirectory();
    ::mkdir(runtime.c_str(), 0700);

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
        const auto status = host.plugIn(std::make_shared<sim::radio::VirtualDongle>(config, medium));
        if (status != wdm::Status::Success)
            std::cerr << "kirva_udxd: the dongle did not start: " << wdm::StatusName(status) << "\n";
        else
            std::cout << "dongle started" << std::endl;
        return status;
    };
    if (plugDongle() != wdm::Status::Success && host.devicePresent()) host.removeOrderly();

    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);

    kirva::DeviceServer server(host, kit::devio::SocketPathFor(kirva::kDevicePath.substr(4)));
    if (signalFd < 0 || !server.listen(error)) {
        std::cerr << "kirva_udxd: " << (signalFd < 0 ? std::string("signalfd failed") : error) << "\n";
        return 1;
    }
    { std::ofstream(PidFilePath()) << ::getpid() << "\n"; }
    std::cout << "serving " << kirva::kDevicePath << " on "
              << kit::devio::SocketPathFor(kirva::kDevicePath.substr(4)) << std::endl;

    for (bool running = true; running;) {
        pollfd fds[] = {{server.listenHandle(), POLLIN, 0}, {signalFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents & POLLIN) server.acceptOne();
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
