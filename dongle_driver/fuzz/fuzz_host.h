#pragma once
// The driver loaded once per fuzz process on a started virtual dongle, with one
// open handle. Each input runs against the same device, as a long-lived
// driver sees request after request; the process ends without tearing it down.

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "sim/radio/radio_medium.h"
#include "sim/radio/virtual_dongle.h"

namespace kirva::fuzz {

// Stops the run with a message: the fuzzer reports the input as a finding.
[[noreturn]] inline void Finding(const char* what) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

struct FuzzHost {
    explicit FuzzHost(sim::radio::DongleConfig config = {}) {
        if (host.load() != wdm::Status::Success) Finding("driver entry failed");
        dongle = std::make_shared<sim::radio::VirtualDongle>(std::move(config), medium);
        if (host.plugIn(dongle) != wdm::Status::Success) Finding("the virtual dongle did not start");
        wdm::Status opened;
        file = host.open(kDevicePath, opened);
        if (!file) Finding("the device did not open");
    }

    // The device's notify area through the control entry.
    std::vector<std::uint8_t> notify() {
        std::vector<std::uint8_t> out;
        if (file->control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize, out) != wdm::Status::Success ||
            out.size() != kNotifyBufferSize)
            Finding("the notify area cannot be read");
        return out;
    }
    void write(const std::vector<std::uint8_t>& frame) {
        if (file->write(frame) != wdm::Status::Success) Finding("a well-formed frame failed");
    }

    DriverHost host;
    std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();
    std::shared_ptr<sim::radio::VirtualDongle> dongle;
    std::unique_ptr<HostFile> file;
};

}  // namespace kirva::fuzz
