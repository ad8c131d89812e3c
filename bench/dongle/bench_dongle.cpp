// bench_dongle: the dongle path end to end on the virtual dongle, through the
// driver host's socket as a separate program would reach it.
//   1. round trips per second of a module query (attention request), against
//      the bound set by the dongle's reply delay;
//   2. a 14-channel search with the tool's timing (200 ms answer wait and 5 ms
//      settle per channel), against its floor of 14 x 205 ms.

#include <CLI/CLI.hpp>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "config_tool/links/dongle_link_values.h"
#include "config_tool/links/dongle_transport.h"
#include "config_tool/protocol/module_link.h"
#include "dongle_driver/host/device_server.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/simulation_plan.h"
#include "platform/devio/device_registry.h"
#include "sim/radio/engine_answerer.h"
#include "sim/radio/virtual_dongle.h"
#include "platform/cli/parse_command_line.h"

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    CLI::App app{"Round trips of a module query and a 14-channel search through the dongle driver host, "
                 "as ratios against their physical bounds.",
                 "bench_dongle"};
    int roundTrips = 200;
    app.add_option("ROUND_TRIPS", roundTrips, "module queries to time")->check(CLI::Range(1, 1000000));
    if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
    char dir[] = "/tmp/bench-dongle.XXXXXX";
    if (!::mkdtemp(dir)) return 1;
    ::setenv("KIT_RUNTIME_DIR", dir, 1);

    kirva::DriverHost host;
    if (host.load() != wdm::Status::Success) return 1;
    auto medium = std::make_shared<sim::radio::RadioMedium>();
    for (std::uint16_t channel : {1, 6, 11})
        for (int i = 0; i < 2; ++i) {
            const auto address = kirva::SimulatedModuleAddress(channel, i);
            medium->add(std::make_shared<sim::radio::RadioModule>(
                address, channel, std::make_shared<sim::radio::EngineAnswerer>(address, "")));
        }
    sim::radio::DongleConfig config;
    if (host.plugIn(std::make_shared<sim::radio::VirtualDongle>(config, medium)) != wdm::Status::Success) return 1;
    kirva::DeviceServer server(host, kit::devio::SocketPathFor("MERVO_QTM31RB07_TEST"));
    std::string error;
    if (!server.listen(error)) {
        std::fprintf(stderr, "bench_dongle: %s\n", error.c_str());
        return 1;
    }
    std::atomic<bool> stop{false};
    std::thread acceptor([&] {
        while (!stop) {
            pollfd fd{server.listenHandle(), POLLIN, 0};
            if (::poll(&fd, 1, 50) > 0) server.acceptOne();
        }
    });

    tarnwave::ModuleLink link;
    tarnwave::SetTargetModule(kirva::SimulatedModuleAddress(6, 0));
    int result = link.startWorker();
    auto opened = tarnwave::DongleTransport::open(link.request(), link.worker(), nullptr, result);
    if (!opened) {
        std::fprintf(stderr, "bench_dongle: cannot open the dongle (%d)\n", result);
        return 1;
    }
    auto* transport = opened.get();
    link.openTransport(std::move(opened));
    transport->switchChannel(6);

    int failures = 0;
    const auto start = Clock::now();
    for (int i = 0; i < roundTrips; ++i) failures += link.attention() != 0;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double perSecond = roundTrips / seconds;
    const double bound = 1000.0 / static_cast<double>(config.replyDelay.count());
    std::printf("query round trips: %d in %.3f s = %.0f/s (failures %d); reply-delay bound %.0f/s; ratio %.2f\n",
                roundTrips, seconds, perSecond, failures, bound, perSecond / bound);

    const auto searchStart = Clock::now();
    int found = 0;
    for (int channel = 1; channel <= 14; ++channel) {
        transport->startSearch(channel, kirva::kSearchAllAddress);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        transport->stopSearch();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (auto area = transport->readNotify())
            if (auto list = kirva::ParseSearchNotify(*area)) found += static_cast<int>(list->addresses.size());
    }
    const double searchSeconds = std::chrono::duration<double>(Clock::now() - searchStart).count();
    std::printf("14-channel search: %.3f s, %d modules found; floor 14 x 205 ms = 2.870 s; ratio %.3f\n",
                searchSeconds, found, searchSeconds / 2.870);

    link.close();
    link.stopWorker();
    stop = true;
    acceptor.join();
    server.stop();
    ::rmdir(dir);
    return failures == 0 && found == 6 ? 0 : 1;
}
