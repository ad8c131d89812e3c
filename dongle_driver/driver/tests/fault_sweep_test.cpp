// The dongle failing at every step of what the tool does with it: pulled at
// each USB transfer of a command, a search and a channel switch, a pool
// allocation failing at each allocation of the start and of a command, a bulk
// transfer failing at each bulk transfer. Every run must end (no hang), leave
// no thread behind, signal the remove event once when the dongle went, and the
// same driver host must serve the next dongle plugged in.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "dongle_driver/driver/tests/driver_rig.h"
#include "dongle_driver/driver/tests/process_resources.h"
#include "platform/sync/wait_any.h"

namespace kirva::testing {
namespace {

using namespace std::chrono_literals;
using wdm::Status;
using wdm::usb::UsbdStatus;

constexpr std::uint16_t kChannel = 6;
constexpr auto kAnswerLimit = 2s;

enum class Fault { Pull, FailBulk };

// The virtual dongle behind a counter of its USB transfers: armed with a
// fault and a position, it is pulled (or fails that bulk transfer) when the
// transfer at that position comes. Pulled, it has the host remove the device
// on another thread, as plug and play does after the hub reports it gone.
class FaultyDongle : public wdm::usb::UsbDevicePort {
public:
    FaultyDongle(std::shared_ptr<sim::radio::VirtualDongle> inner, DriverHost& host)
        : m_inner(std::move(inner)), m_host(host) {}
    ~FaultyDongle() override { joinRemoval(); }

    void arm(Fault fault, int position) {
        std::lock_guard lock(m_mutex);
        m_fault = fault;
        m_position = position;
        m_seen = 0;
        m_armed = true;
        m_fired = false;
    }
    bool fired() const { return m_fired.load(); }
    void joinRemoval() {
        if (m_removal.joinable()) m_removal.join();
    }

    std::vector<std::uint8_t> deviceDescriptor() override { return m_inner->deviceDescriptor(); }
    std::vector<std::uint8_t> configurationDescriptor() override { return m_inner->configurationDescriptor(); }
    UsbdStatus setConfiguration(std::uint8_t value) override {
        hit(false);
        return m_inner->setConfiguration(value);
    }
    UsbdStatus controlTransfer(const wdm::usb::ControlSetup& setup, std::span<std::uint8_t> data,
                               std::size_t& transferred) override {
        hit(false);
        return m_inner->controlTransfer(setup, data, transferred);
    }
    UsbdStatus bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data) override {
        if (hit(true)) return UsbdStatus::Error;
        return m_inner->bulkOut(endpoint, data);
    }
    void bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> buffer, BulkInCompletion done) override {
        if (hit(true)) return done(UsbdStatus::Error, 0);
        m_inner->bulkIn(endpoint, buffer, std::move(done));
    }
    void abortPipe(std::uint8_t endpoint) override {
        hit(false);
        m_inner->abortPipe(endpoint);
    }

private:
    // Counts one transfer; true when it is the bulk transfer to fail.
    bool hit(bool bulk) {
        std::lock_guard lock(m_mutex);
        if (!m_armed || (m_fault == Fault::FailBulk && !bulk)) return false;
        if (m_seen++ != m_position) return false;
        m_armed = false;
        m_fired = true;
        if (m_fault == Fault::FailBulk) return true;
        m_inner->pull();
        m_removal = std::thread([this] { m_host.pullOut(); });
        return false;  // the dongle itself now answers as gone
    }

    std::shared_ptr<sim::radio::VirtualDongle> m_inner;
    DriverHost& m_host;
    std::mutex m_mutex;
    Fault m_fault = Fault::Pull;
    int m_position = 0;
    int m_seen = 0;
    bool m_armed = false;
    std::atomic<bool> m_fired{false};
    std::thread m_removal;
};

// The driver host with two modules on channel 6; the dongle is plugged in
// afresh for each run and the tool's handle opened with both events handed over.
class FaultSweep : public ::testing::Test {
protected:
    void SetUp() override {
        rig.addModule(kModuleA, kChannel);
        rig.addModule(kModuleB, kChannel);
        // A sanitizer's runtime starts a thread of its own with the first thread of
        // the process: let that happen before the count is taken.
        std::thread([] {}).join();
        baseThreads = ThreadCount();
    }

    void plug() {
        inner = std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, rig.medium);
        dongle = std::make_shared<FaultyDongle>(inner, rig.host);
        ASSERT_EQ(rig.host.plugIn(dongle), Status::Success);
        openTool();
    }
    void openTool() {
        file = rig.open();
        ASSERT_TRUE(file);
        std::vector<std::uint8_t> out;
        ASSERT_EQ(file->control(IOCTL_UDX_SET_READ_EVENT, read.input(), 0, out), Status::Success);
        ASSERT_EQ(file->control(IOCTL_UDX_SET_REMOVE_EVENT, remove.input(), 0, out), Status::Success);
        ASSERT_EQ(file->write(BuildSwitchChannel(kChannel)), Status::Success);
        removesBefore = rig.traced("remove!");
        removesSeen = 0;
    }
    // Waits for the read event; a remove event on the way is counted.
    bool awaitAnswer() {
        kit::Event* events[] = {read.event.get(), remove.event.get()};
        const auto waited = kit::WaitAny(events, kAnswerLimit);
        if (!waited.timedOut && waited.index == 1) ++removesSeen;
        return !waited.timedOut && waited.index == 0;
    }

    // The tool's request: exchange, transmission, reception, the notify area.
    // True when the module's answer arrived in the area.
    bool command(Status* sent = nullptr) {
        (void)file->write(BuildOpenExchange(5));
        const Status transmitted = file->write(BuildSendToModule(kModuleA, kPassword, PayloadType::RequestText,
                                                                  DriverRig::Text("AT+SSID\r")));
        if (sent) *sent = transmitted;
        bool answered = false;
        if (transmitted == Status::Success && file->write(BuildStartReceive(0, kModuleA)) == Status::Success)
            answered = awaitAnswer();
        (void)file->write(BuildStopReceive());
        std::vector<std::uint8_t> area;
        const bool read = file->control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize, area) == Status::Success;
        (void)file->write(BuildCloseExchange());
        return answered && read && std::string(area.begin() + 4, area.begin() + 12) == "+OK=SSID";
    }
    // The tool's search of one channel: the modules found.
    std::size_t search() {
        (void)file->write(BuildStartSearch(kChannel, kPassword, kSearchAllAddress));
        // Both modules answer within a few milliseconds; a pulled dongle ends the wait.
        const auto deadline = std::chrono::steady_clock::now() + kAnswerLimit;
        std::vector<std::uint8_t> area;
        std::size_t found = 0;
        while (std::chrono::steady_clock::now() < deadline && !(dongle->fired() && !rig.host.devicePresent())) {
            if (file->control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize, area) != Status::Success) break;
            if (const auto list = ParseSearchNotify(area); list && list->addresses.size() == 2) break;
            std::this_thread::sleep_for(1ms);
        }
        (void)file->write(BuildStopSearch());
        if (file->control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize, area) == Status::Success)
            if (const auto list = ParseSearchNotify(area)) found = list->addresses.size();
        return found;
    }
    bool switchChannel() { return file->write(BuildSwitchChannel(3)) == Status::Success && inner->channel() == 3; }

    // After the dongle went: one remove event, nothing left running, the
    // handle refused.
    void expectRemovedCleanly(const std::string& where) {
        SCOPED_TRACE(where);
        dongle->joinRemoval();
        if (rig.host.devicePresent()) rig.host.pullOut();
        if (remove.event->wait(0ms)) ++removesSeen;
        EXPECT_EQ(removesSeen, 1) << "remove event signalled other than once";
        EXPECT_EQ(rig.traced("remove!") - removesBefore, 1);
        EXPECT_NE(file->write(BuildStopReceive()), Status::Success);
        file.reset();
        dongle.reset();
        inner.reset();
        EXPECT_TRUE(Settles([&] { return ThreadCount() == baseThreads; }))
            << ThreadCount() << " threads, " << baseThreads << " before";
    }

    // Runs `exchange` with the dongle pulled at each transfer in turn, until a
    // run ends before the position is reached; each run starts on a dongle
    // freshly plugged into the same host, which must first serve a whole
    // command. Returns the number of positions swept.
    int sweepPull(const std::function<void()>& exchange) {
        int position = 0;
        for (;; ++position) {
            SCOPED_TRACE("pulled at transfer " + std::to_string(position));
            plug();
            if (::testing::Test::HasFatalFailure()) return position;
            EXPECT_TRUE(command()) << "the host does not serve the replugged dongle";
            dongle->arm(Fault::Pull, position);
            exchange();
            if (!dongle->fired()) break;
            expectRemovedCleanly("pull at " + std::to_string(position));
        }
        rig.host.pullOut();
        expectRemovedCleanly("after the sweep");
        return position;
    }

    DriverRig rig;
    std::shared_ptr<sim::radio::VirtualDongle> inner;
    std::shared_ptr<FaultyDongle> dongle;
    std::unique_ptr<HostFile> file;
    HandedEvent read;
    HandedEvent remove;
    int removesBefore = 0;
    int removesSeen = 0;
    std::size_t baseThreads = 0;
};

TEST_F(FaultSweep, DonglePulledAtEveryTransferOfACommand) {
    // Exchange bit (read, write), transmission, the read, the exchange bit
    // again (the loop reads no more once it has the answer: nothing to abort).
    EXPECT_GE(sweepPull([this] { (void)command(); }), 6);
}

TEST_F(FaultSweep, DonglePulledAtEveryTransferOfASearch) {
    // Channel, transmission, a read per answer and one more, the abort.
    EXPECT_GE(sweepPull([this] { (void)search(); }), 5);
}

TEST_F(FaultSweep, DonglePulledAtEveryTransferOfAChannelSwitch) {
    EXPECT_GE(sweepPull([this] { (void)switchChannel(); }), 1);
}

TEST_F(FaultSweep, BulkTransferFailingAtEachTransferOfACommandAndASearch) {
    plug();
    // The transmission fails the write; a failed read is followed by another,
    // which still gets the answer.
    for (int position = 0;; ++position) {
        SCOPED_TRACE("command, bulk transfer " + std::to_string(position) + " failed");
        dongle->arm(Fault::FailBulk, position);
        Status sent = Status::Success;
        const bool answered = command(&sent);
        if (!dongle->fired()) break;
        if (position == 0) {
            EXPECT_NE(sent, Status::Success);
            EXPECT_FALSE(answered);
        } else {
            EXPECT_TRUE(answered);
        }
        EXPECT_TRUE(command()) << "the next command fails";
    }
    for (int position = 0;; ++position) {
        SCOPED_TRACE("search, bulk transfer " + std::to_string(position) + " failed");
        dongle->arm(Fault::FailBulk, position);
        const std::size_t found = search();
        if (!dongle->fired()) break;
        EXPECT_EQ(found, position == 0 ? 0u : 2u);
        EXPECT_EQ(search(), 2u) << "the next search fails";
    }
    rig.host.pullOut();
    expectRemovedCleanly("bulk faults");
}

TEST_F(FaultSweep, PoolExhaustedAtEachAllocationOfTheStart) {
    auto& pool = rig.host.io().pool();
    int position = 0;
    for (;; ++position) {
        SCOPED_TRACE("start, allocation " + std::to_string(position) + " failed");
        inner = std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, rig.medium);
        dongle = std::make_shared<FaultyDongle>(inner, rig.host);
        ASSERT_EQ(rig.host.plugInStopped(dongle), Status::Success);
        pool.failAfter(position, 1);
        const Status started = rig.host.start();
        pool.failAfter(0, 0);
        if (started == Status::Success) break;
        EXPECT_EQ(started, Status::InsufficientResources);
        rig.host.pullOut();
        dongle.reset();
        inner.reset();
        EXPECT_TRUE(Settles([&] { return ThreadCount() == baseThreads; }));
    }
    // The register writes, the address, the descriptors and the engine's buffers.
    EXPECT_GE(position, 41);
    openTool();
    EXPECT_TRUE(command()) << "the host does not serve the dongle started at last";
    rig.host.pullOut();
    expectRemovedCleanly("after the start sweep");
}

TEST_F(FaultSweep, PoolExhaustedAtEachAllocationOfACommand) {
    plug();
    auto& pool = rig.host.io().pool();
    const std::size_t before = pool.allocationCount();
    ASSERT_TRUE(command());
    const int allocations = static_cast<int>(pool.allocationCount() - before);
    ASSERT_GE(allocations, 5);  // a work buffer per frame, a transfer block per vendor request
    for (int position = 0; position < allocations; ++position) {
        SCOPED_TRACE("command, allocation " + std::to_string(position) + " failed");
        pool.failAfter(position, 1);
        (void)command();
        pool.failAfter(0, 0);
        EXPECT_TRUE(command()) << "the next command fails";
    }
    rig.host.pullOut();
    expectRemovedCleanly("after the command sweep");
}

}  // namespace
}  // namespace kirva::testing
