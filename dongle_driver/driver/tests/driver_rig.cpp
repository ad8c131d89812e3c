#include "dongle_driver/driver/tests/driver_rig.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kirva::testing {

std::optional<std::string> EchoAnswerer::answer(sim::radio::HeardKind kind, std::string_view bytes) {
    if (kind == sim::radio::HeardKind::RawData) return "+OK\r\n\r\n";
    std::string text(bytes);
    if (text.rfind("AT+", 0) != 0) return "+ERR=-1\r\n\r\n";
    const auto end = text.find_first_of("=\r");
    return "+OK=" + text.substr(3, end - 3) + "\r\n\r\n";
}

std::vector<std::uint8_t> HandedEvent::input() const {
    std::vector<std::uint8_t> bytes(4);
    PutU32(bytes.data(), handle.value());
    return bytes;
}

DriverRig::DriverRig() {
    EXPECT_EQ(host.load(), wdm::Status::Success);
    host.trace().setSink([this](TraceComponent, std::string_view line) {
        std::lock_guard lock(m_traceMutex);
        m_trace.emplace_back(line);
    });
}

DriverRig::~DriverRig() {
    host.removeOrderly();
    host.trace().setSink(nullptr);
}

std::shared_ptr<sim::radio::RadioModule> DriverRig::addModule(const RadioAddress& address, std::uint16_t channel) {
    auto module = std::make_shared<sim::radio::RadioModule>(address, channel, std::make_shared<EchoAnswerer>());
    medium->add(module);
    return module;
}

wdm::Status DriverRig::plugStopped(sim::radio::DongleConfig config) {
    dongle = std::make_shared<sim::radio::VirtualDongle>(std::move(config), medium);
    return host.plugInStopped(dongle);
}

wdm::Status DriverRig::plug(sim::radio::DongleConfig config) {
    const auto added = plugStopped(std::move(config));
    return added == wdm::Status::Success ? host.start() : added;
}

std::unique_ptr<HostFile> DriverRig::open() {
    wdm::Status status;
    auto file = host.open(kDevicePath, status);
    EXPECT_EQ(status, wdm::Status::Success);
    return file;
}

std::vector<std::uint8_t> DriverRig::notify(HostFile& file) {
    std::vector<std::uint8_t> out;
    EXPECT_EQ(file.control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize, out), wdm::Status::Success);
    return out;
}

int DriverRig::traced(std::string_view line) const {
    std::lock_guard lock(m_traceMutex);
    return static_cast<int>(std::count(m_trace.begin(), m_trace.end(), line));
}

}  // namespace kirva::testing
