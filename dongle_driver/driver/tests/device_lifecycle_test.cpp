// Lifecycle of the dongle's device: start with the endpoint checks, held
// requests, removal in its three forms, and requests from untrusted callers.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "dongle_driver/driver/dongle_device.h"
#include "dongle_driver/driver/radio_engine.h"
#include "dongle_driver/driver/tests/driver_rig.h"

namespace kirva::testing {
namespace {

using namespace std::chrono_literals;
using wdm::Status;

constexpr auto kLong = 10s;  // generous: the machine is shared

DongleDevice& Device(DriverRig& rig) { return rig.host.functionDevice()->extensionAs<DongleDevice>(); }

std::vector<std::uint8_t> AttentionFrame() {
    const auto text = DriverRig::Text("AT+\r");
    return BuildSendToModule(kModuleA, kPassword, PayloadType::RequestText, text);
}

// Writes the attention frame on another thread and waits (generously) until the
// driver holds the request; the caller checks the held count where it matters.
std::future<Status> StartHeldWrite(DriverRig& rig, HostFile& file) {
    auto written = std::async(std::launch::async, [&file] { return file.write(AttentionFrame()); });
    for (int i = 0; i < 1000 && Device(rig).queue().heldCount() == 0; ++i) std::this_thread::sleep_for(5ms);
    return written;
}

// The outcome of a write started on another thread. One still held after a
// generous wait is ended by pulling the dongle, so a failing test cannot hang.
Status Finish(DriverRig& rig, std::future<Status>& written, const char* why) {
    if (written.wait_for(kLong) != std::future_status::ready) {
        ADD_FAILURE() << why;
        rig.host.pullOut();
    }
    return written.get();
}

TEST(DongleStart, ProgramsTheRadioAndSelectsTheConfiguration) {
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    const auto writes = rig.dongle->registerWrites();
    ASSERT_EQ(writes.size(), kRadioSetUp.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].first, kRadioSetUp[i].address) << i;
        EXPECT_EQ(writes[i].second, kRadioSetUp[i].value) << i;
    }
    EXPECT_EQ(rig.traced("mac:001a2b3c4d5e"), 1);
    EXPECT_EQ(rig.dongle->configurationValue(), 1);
    EXPECT_EQ(Device(rig).state(), DeviceState::Started);
    EXPECT_TRUE(rig.host.io().linkExists(kSymbolicLinkName));
}

TEST(DongleStart, RefusesAWrongEndpointLayout) {
    struct Case {
        const char* name;
        sim::radio::DongleConfig config;
    };
    sim::radio::DongleConfig swapped;
    std::swap(swapped.endpoints[1], swapped.endpoints[2]);
    sim::radio::DongleConfig oddPacket;
    oddPacket.endpoints[0].maxPacketSize = 128;
    sim::radio::DongleConfig twoEndpoints;
    twoEndpoints.endpoints.pop_back();
    const Case cases[] = {
        {"interrupt third endpoint", sim::radio::WithInterruptThirdEndpoint({})},
        {"out endpoints swapped", swapped},
        {"packet size 128", oddPacket},
        {"only two endpoints", twoEndpoints},
    };
    for (const auto& c : cases) {
        DriverRig rig;
        EXPECT_EQ(rig.plug(c.config), Status::DeviceConfigurationError) << c.name;
        EXPECT_NE(Device(rig).state(), DeviceState::Started) << c.name;
        EXPECT_EQ(rig.dongle->configurationValue(), 0) << c.name;
    }
}

TEST(DongleStart, FullSpeedPacketSizeIsAccepted) {
    sim::radio::DongleConfig config;
    for (auto& endpoint : config.endpoints) endpoint.maxPacketSize = 64;
    DriverRig rig;
    EXPECT_EQ(rig.plug(config), Status::Success);
}

TEST(DongleStart, OutOfMemoryFailsTheStartAndFreesWhatWasTaken) {
    DriverRig rig;
    ASSERT_EQ(rig.plugStopped(), Status::Success);
    rig.host.io().pool().failAfter(20);  // somewhere among the receive slots
    EXPECT_EQ(rig.host.start(), Status::InsufficientResources);
    EXPECT_EQ(rig.dongle->configurationValue(), 0) << "the configuration is given back";
    rig.host.io().pool().failAfter(0, 0);
}

TEST(DongleQueue, WriteBeforeStartIsHeldAndRunsAfterStart) {
    DriverRig rig;
    rig.addModule(kModuleA, 1);
    ASSERT_EQ(rig.plugStopped(), Status::Success);
    auto file = rig.open();
    ASSERT_TRUE(file);
    auto written = StartHeldWrite(rig, *file);
    // The driver holds it; nothing has reached the dongle.
    ASSERT_EQ(Device(rig).queue().heldCount(), 1u);
    EXPECT_EQ(rig.dongle->sentCount(), 0u);

    ASSERT_EQ(rig.host.start(), Status::Success);
    ASSERT_EQ(written.wait_for(kLong), std::future_status::ready);
    EXPECT_EQ(written.get(), Status::Success);
    EXPECT_EQ(rig.dongle->sentCount(), 1u);
}

TEST(DongleQueue, ClosingTheHandleCancelsItsHeldWrite) {
    DriverRig rig;
    ASSERT_EQ(rig.plugStopped(), Status::Success);
    auto file = rig.open();
    auto written = StartHeldWrite(rig, *file);
    // Cleanup of the handle runs on another handle's behalf here: same file id.
    wdm::IoRequest cleanup(wdm::MajorFunction::Cleanup);
    cleanup.fileId = file->id();
    rig.host.io().callDriverAndWait(*rig.host.functionDevice(), cleanup);
    ASSERT_EQ(written.wait_for(kLong), std::future_status::ready);
    EXPECT_EQ(written.get(), Status::Cancelled);
}

TEST(DongleRemoval, PullingTheDongleSignalsTheRemoveEventOnce) {
    DriverRig rig;
    rig.addModule(kModuleA, 1);
    ASSERT_EQ(rig.plug(), Status::Success);
    auto file = rig.open();
    HandedEvent remove;
    std::vector<std::uint8_t> out;
    ASSERT_EQ(file->control(IOCTL_UDX_SET_REMOVE_EVENT, remove.input(), 0, out), Status::Success);
    ASSERT_EQ(file->write(BuildStartReceive(0, kModuleA)), Status::Success);

    rig.host.pullOut();
    EXPECT_TRUE(remove.event->wait(0ms));
    EXPECT_FALSE(remove.event->wait(0ms)) << "signalled a second time";
    EXPECT_EQ(rig.traced("remove!"), 1);
    EXPECT_EQ(file->write(AttentionFrame()), Status::NoSuchDevice);
    wdm::Status status;
    EXPECT_FALSE(rig.host.open(kDevicePath, status));
}

TEST(DongleRemoval, QueryRemoveThenCancelKeepsTheDeviceWorkingWithoutItsLink) {
    DriverRig rig;
    rig.addModule(kModuleA, 1);
    ASSERT_EQ(rig.plug(), Status::Success);
    auto file = rig.open();
    HandedEvent remove;
    std::vector<std::uint8_t> out;
    ASSERT_EQ(file->control(IOCTL_UDX_SET_REMOVE_EVENT, remove.input(), 0, out), Status::Success);

    ASSERT_EQ(rig.host.queryRemove(), Status::Success);
    EXPECT_TRUE(remove.event->wait(0ms));
    ASSERT_EQ(rig.host.cancelRemove(), Status::Success);

    EXPECT_EQ(Device(rig).state(), DeviceState::Started);
    EXPECT_FALSE(rig.host.io().linkExists(kSymbolicLinkName));
    wdm::Status status;
    EXPECT_FALSE(rig.host.open(kDevicePath, status)) << "the path no longer resolves";
    EXPECT_EQ(file->write(AttentionFrame()), Status::Success) << "an open handle keeps working";
    EXPECT_EQ(rig.dongle->sentCount(), 1u);
}

TEST(DongleRemoval, WriteDuringPendingRemoveFailsWhenRemoved) {
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    auto file = rig.open();
    ASSERT_EQ(rig.host.queryRemove(), Status::Success);
    auto written = StartHeldWrite(rig, *file);
    EXPECT_EQ(rig.host.removeOrderly(), Status::Success);
    ASSERT_EQ(written.wait_for(kLong), std::future_status::ready);
    EXPECT_EQ(written.get(), Status::NoSuchDevice);
}

TEST(DongleRequests, UntrustedInputIsRefusedCleanly) {
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    auto file = rig.open();
    std::vector<std::uint8_t> out;
    const std::uint8_t shortHandle[] = {4, 0};
    const std::vector<std::uint8_t> unknownHandle = {0xF0, 0xFF, 0xFF, 0x7F};

    EXPECT_EQ(file->control(0x222000, {}, 2048, out), Status::InvalidDeviceRequest);
    EXPECT_EQ(file->control(IOCTL_UDX_GET_NOTIFY, {}, 100, out), Status::BufferTooSmall);
    EXPECT_EQ(file->control(IOCTL_UDX_SET_READ_EVENT, shortHandle, 0, out), Status::InvalidParameter);
    EXPECT_EQ(file->control(IOCTL_UDX_SET_READ_EVENT, unknownHandle, 0, out), Status::InvalidHandle);

    // Frames: unknown code, empty, short known codes, oversized, bad length field.
    const std::vector<std::uint8_t> unknown = {0x99, 0x99, 0, 0};
    EXPECT_EQ(file->write(unknown), Status::Success);
    EXPECT_EQ(rig.traced("it is wrong ioctl9999\n"), 1);
    EXPECT_EQ(file->write({}), Status::Success);
    EXPECT_EQ(file->write(std::vector<std::uint8_t>{0x02, 0xFF}), Status::Success);
    EXPECT_EQ(file->write(std::vector<std::uint8_t>{0x03, 0xFF}), Status::Success);
    EXPECT_EQ(file->write(std::vector<std::uint8_t>{0x01, 0xFF, 0, 0, 3, 0}), Status::InvalidParameter);
    std::vector<std::uint8_t> huge(9000, 0xAB);
    PutU32(huge.data(), 0xFF01);
    EXPECT_EQ(file->write(huge), Status::InvalidParameter) << "text beyond the transmit buffer is not sent";
    EXPECT_EQ(rig.dongle->sentCount(), 0u);

    // A read of data is not offered; an empty read is fine.
    EXPECT_EQ(file->read(10), Status::NotImplemented);
    EXPECT_EQ(file->read(0), Status::Success);
}

TEST(DongleRequests, ConcurrentClientsDoNotDisturbEachOther) {
    DriverRig rig;
    rig.addModule(kModuleA, 1);
    ASSERT_EQ(rig.plug(), Status::Success);
    std::vector<std::thread> clients;
    std::atomic<int> failures{0};
    for (int c = 0; c < 4; ++c)
        clients.emplace_back([&, c] {
            auto file = rig.open();
            std::vector<std::uint8_t> out;
            for (int i = 0; i < 50; ++i) {
                if (file->write(AttentionFrame()) != Status::Success) ++failures;
                if (c % 2 == 0) (void)file->write(BuildStartReceive(0, kModuleA));
                else (void)file->write(BuildStopReceive());
                if (file->control(IOCTL_UDX_GET_NOTIFY, {}, 2048, out) != Status::Success) ++failures;
            }
        });
    for (auto& client : clients) client.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(rig.dongle->sentCount(), 200u);
}

TEST(DonglePower, SleepHoldsWritesUntilTheSystemWakes) {
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    auto file = rig.open();
    auto* physical = rig.host.functionDevice()->lower;
    ASSERT_EQ(rig.host.pnp().setSystemPower(*physical, wdm::SystemPowerState::Sleeping), Status::Success);
    EXPECT_EQ(Device(rig).devicePower(), wdm::DevicePowerState::D3);
    auto written = StartHeldWrite(rig, *file);
    EXPECT_EQ(rig.dongle->sentCount(), 0u);
    ASSERT_EQ(rig.host.pnp().setSystemPower(*physical, wdm::SystemPowerState::Working), Status::Success);
    ASSERT_EQ(written.wait_for(kLong), std::future_status::ready);
    EXPECT_EQ(written.get(), Status::Success);
    EXPECT_EQ(rig.dongle->sentCount(), 1u);
}

TEST(DonglePower, WriteToASleepingDeviceWakesIt) {
    // The system stays working; only the device went to D3.
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    auto file = rig.open();
    auto* physical = rig.host.functionDevice()->lower;
    ASSERT_EQ(rig.host.pnp().setDevicePower(*physical, wdm::DevicePowerState::D3), Status::Success);
    auto written = std::async(std::launch::async, [&file] { return file->write(AttentionFrame()); });
    ASSERT_EQ(Finish(rig, written, "the held write never asked for D0"), Status::Success);
    EXPECT_EQ(Device(rig).devicePower(), wdm::DevicePowerState::D0);
    EXPECT_FALSE(Device(rig).queue().stalled());
    EXPECT_EQ(rig.dongle->sentCount(), 1u);
}

TEST(DonglePower, StopAndStartWhilePoweredDownLeaveTheQueueRunning) {
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    auto* physical = rig.host.functionDevice()->lower;
    ASSERT_EQ(rig.host.pnp().setDevicePower(*physical, wdm::DevicePowerState::D3), Status::Success);
    ASSERT_EQ(rig.host.pnp().queryStop(*physical), Status::Success);
    ASSERT_EQ(rig.host.pnp().stop(*physical), Status::Success);
    ASSERT_EQ(rig.host.start(), Status::Success);
    EXPECT_FALSE(Device(rig).queue().stalled()) << "the power-down's stall outlived the start";
    auto file = rig.open();
    auto written = std::async(std::launch::async, [&file] { return file->write(AttentionFrame()); });
    EXPECT_EQ(Finish(rig, written, "the write stays held"), Status::Success);
}

TEST(DonglePnp, CancelRequestsAlwaysReachTheBus) {
    // Pending or not, a cancel goes down: the bus may hold a query of its own.
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    auto* physical = rig.host.functionDevice()->lower;
    std::mutex mutex;
    std::vector<wdm::PnpMinor> seen;
    rig.host.bus().setPnpObserver([&](wdm::PnpMinor minor) {
        std::lock_guard lock(mutex);
        seen.push_back(minor);
    });
    ASSERT_EQ(rig.host.pnp().cancelStop(*physical), Status::Success);
    ASSERT_EQ(rig.host.pnp().cancelRemove(*physical), Status::Success);
    ASSERT_EQ(rig.host.pnp().queryStop(*physical), Status::Success);
    ASSERT_EQ(rig.host.pnp().cancelStop(*physical), Status::Success);
    rig.host.bus().setPnpObserver(nullptr);
    const std::vector<wdm::PnpMinor> expected = {wdm::PnpMinor::CancelStopDevice, wdm::PnpMinor::CancelRemoveDevice,
                                                 wdm::PnpMinor::QueryStopDevice, wdm::PnpMinor::CancelStopDevice};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(Device(rig).state(), DeviceState::Started);
    EXPECT_FALSE(Device(rig).queue().stalled());
}

TEST(DongleStart, PipesAskForTheirTransferSizeWhenTheConfigurationIsSelected) {
    DriverRig rig;
    std::vector<std::uint32_t> requested;
    rig.host.bus().setTransferObserver([&](const wdm::usb::Urb& urb, bool completed) {
        if (completed || urb.function != wdm::usb::UrbFunction::SelectConfiguration || !urb.configurationDescriptor)
            return;
        for (const auto& interface : urb.interfaces)
            for (const auto& pipe : interface.pipes) requested.push_back(pipe.maxTransferSize);
    });
    ASSERT_EQ(rig.plug(), Status::Success);
    rig.host.bus().setTransferObserver(nullptr);
    EXPECT_EQ(requested, std::vector<std::uint32_t>(3, kPipeMaxTransferSize));
}

TEST(DongleCapabilities, SurpriseRemovalIsDeclaredSafe) {
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    wdm::DeviceCapabilities capabilities;
    ASSERT_EQ(rig.host.pnp().queryCapabilities(*rig.host.functionDevice()->lower, capabilities), Status::Success);
    EXPECT_TRUE(capabilities.surpriseRemovalOk);
}

}  // namespace
}  // namespace kirva::testing
