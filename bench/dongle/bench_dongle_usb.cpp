// bench_dongle_usb: module query round trips through the driver on the
// virtual USB bus and through the libusb backend on the same virtual dongle
// behind an emulated USB device node; prints both and the libusb path's
// share of the virtual one's rate (the price of usbdevfs and libusb's event
// thread). Runs under the umockdev preload (it re-executes itself).

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/libusb_backend.h"
#include "dongle_driver/host/simulation_plan.h"
#include "dongle_driver/host/tests/usbdevfs_dongle.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/handles/handle_table.h"
#include "platform/sync/event.h"
#include "sim/radio/engine_answerer.h"

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

const kirva::WirelessPassword kPassword{};

// Round trips per second of "AT+QVER=?" to module 1 of channel 6; -1 on failure.
double RoundTrips(kirva::DriverHost& host, int count) {
    wdm::Status status;
    auto file = host.open(kirva::kDevicePath, status);
    if (!file) return -1;
    auto event = std::make_shared<kit::Event>(kit::EventReset::Auto);
    kit::ScopedHandle handle(kit::HandleTable::process().insert(event));
    std::vector<std::uint8_t> input(4), out;
    kirva::PutU32(input.data(), handle.value());
    if (file->control(kirva::IOCTL_UDX_SET_READ_EVENT, input, 0, out) != wdm::Status::Success) return -1;
    const auto module = kirva::SimulatedModuleAddress(6, 0);
    const std::string text = "AT+QVER=?\r";
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    (void)file->write(kirva::BuildSwitchChannel(6));
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        (void)file->write(kirva::BuildStartReceive(0, module));
        if (file->write(kirva::BuildSendToModule(module, kPassword, kirva::PayloadType::RequestText, bytes)) !=
                wdm::Status::Success ||
            !event->wait(5s))
            return -1;
        (void)file->write(kirva::BuildStopReceive());
        (void)file->control(kirva::IOCTL_UDX_GET_NOTIFY, {}, kirva::kNotifyBufferSize, out);
    }
    return count / std::chrono::duration<double>(Clock::now() - start).count();
}

std::shared_ptr<sim::radio::RadioMedium> Medium() {
    auto medium = std::make_shared<sim::radio::RadioMedium>();
    const auto address = kirva::SimulatedModuleAddress(6, 0);
    medium->add(std::make_shared<sim::radio::RadioModule>(address, 6,
                                                          std::make_shared<sim::radio::EngineAnswerer>(address, "")));
    return medium;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    double virtualRate = -1;
    {
        kirva::DriverHost host;
        if (host.load() != wdm::Status::Success ||
            host.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, Medium())) !=
                wdm::Status::Success)
            return 1;
        virtualRate = RoundTrips(host, count);
        host.removeOrderly();
    }

    double usbRate = -1;
    {
        kirva::testing::UsbdevfsDongle emulated(Medium());
        kirva::LibusbBackend backend;
        kirva::DriverHost host;
        std::string error;
        if (!emulated.plug() || host.load() != wdm::Status::Success ||
            !backend.start({emulated.kVendor, emulated.kProduct}, error)) {
            std::fprintf(stderr, "bench_dongle_usb: %s\n", error.c_str());
            return 1;
        }
        auto port = backend.open(error);
        if (!port || host.plugIn(port) != wdm::Status::Success) {
            std::fprintf(stderr, "bench_dongle_usb: the emulated dongle did not start: %s\n", error.c_str());
            return 1;
        }
        usbRate = RoundTrips(host, count);
        host.removeOrderly();
    }
    std::printf("query round trips: virtual bus %.0f/s, libusb on the emulated dongle %.0f/s; ratio %.2f\n",
                virtualRate, usbRate, virtualRate > 0 ? usbRate / virtualRate : 0.0);
    return virtualRate > 0 && usbRate > 0 ? 0 : 1;
}
