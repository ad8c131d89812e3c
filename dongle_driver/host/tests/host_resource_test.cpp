// The driver host run long: many programs connecting and disconnecting, and
// the dongle plugged and pulled over and over. Descriptors, threads and
// memory must come back to where they were.

#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "dongle_driver/driver/tests/process_resources.h"
#include "dongle_driver/host/device_server.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/devio/device_registry.h"
#include "sim/radio/virtual_dongle.h"

namespace kirva {
namespace {

using kirva::testing::OpenDescriptorCount;
using kirva::testing::ResidentKiB;
using kirva::testing::Settles;
using kirva::testing::ThreadCount;
using kit::devio::DevError;

// Memory may grow by what the allocator keeps for reuse, not by what each
// round leaves behind.
constexpr std::size_t kResidentToleranceKiB = 4096;

// Under the address sanitizer freed memory is held back in a quarantine of hundreds
// of megabytes, so the resident size says nothing about leaks there; that build's
// leak checker reports them instead.
// The thread sanitizer keeps a history of every access, which grows the same way.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kResidentSizeMeansLeaks = false;
#else
constexpr bool kResidentSizeMeansLeaks = true;
#endif

struct Snapshot {
    std::size_t descriptors = OpenDescriptorCount();
    std::size_t threads = ThreadCount();
    std::size_t residentKiB = ResidentKiB();
};

void ExpectBackTo(const Snapshot& before) {
    // No thread may be left over; one that was still ending when the count was taken
    // may be gone by now.
    EXPECT_TRUE(Settles([&] { return ThreadCount() <= before.threads; }))
        << ThreadCount() << " threads, " << before.threads << " before";
    EXPECT_EQ(OpenDescriptorCount(), before.descriptors);
    if (kResidentSizeMeansLeaks) {
        EXPECT_LE(ResidentKiB(), before.residentKiB + kResidentToleranceKiB);
    }
}

class HostResources : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/kirva-resource-test.XXXXXX";
        ASSERT_TRUE(::mkdtemp(dir));
        m_dir = dir;
        ::setenv("KIT_RUNTIME_DIR", m_dir.c_str(), 1);
        ASSERT_EQ(host.load(), wdm::Status::Success);
    }
    void TearDown() override {
        ::unsetenv("KIT_RUNTIME_DIR");
        ::rmdir(m_dir.c_str());
    }
    DriverHost host;
    std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();

private:
    std::string m_dir;
};

// 16 programs, each opening and closing the device 625 times: 10,000
// connections through one server.
TEST_F(HostResources, SixteenClientsConnectingTenThousandTimesLeaveNothingBehind) {
    constexpr int kClients = 16;
    constexpr int kRoundsEach = 625;
    ASSERT_EQ(host.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, medium)),
              wdm::Status::Success);
    DeviceServer server(host, kit::devio::SocketPathFor("MERVO_QTM31RB07_TEST"), 1000);
    std::string error;
    ASSERT_TRUE(server.listen(error)) << error;
    std::atomic<bool> stop{false};
    std::thread acceptor([&] {
        while (!stop) {
            pollfd fd{server.listenHandle(), POLLIN, 0};
            if (::poll(&fd, 1, 20) > 0) server.acceptOne();
        }
    });

    auto connectMany = [&](int rounds) {
        std::atomic<int> opened{0}, failed{0};
        std::vector<std::thread> clients;
        for (int c = 0; c < kClients; ++c)
            clients.emplace_back([&] {
                for (int done = 0, attempts = 0; done < rounds && attempts < rounds * 20; ++attempts) {
                    DevError result;
                    auto device = kit::devio::OpenDevice(kDevicePath, result);
                    // A slot whose program just left may not be free yet: the host says busy.
                    if (result == DevError::Busy) continue;
                    if (!device || result != DevError::None) {
                        ++failed;
                        continue;
                    }
                    const auto notify = device->control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize);
                    if (notify.error != DevError::None) ++failed;
                    device->close();
                    ++opened;
                    ++done;
                }
            });
        for (auto& client : clients) client.join();
        EXPECT_EQ(failed.load(), 0);
        EXPECT_EQ(opened.load(), kClients * rounds);
    };
    connectMany(10);  // warm-up: the allocator's and the server's first growth
    ASSERT_TRUE(Settles([&] { return server.connectionCount() == 0; }));
    const Snapshot before;
    connectMany(kRoundsEach);
    EXPECT_TRUE(Settles([&] { return server.connectionCount() == 0; }));
    ExpectBackTo(before);
    stop = true;
    acceptor.join();
}

TEST_F(HostResources, DonglePluggedAndPulledAThousandTimesLeavesNothingBehind) {
    auto cycle = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            ASSERT_EQ(host.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, medium)),
                      wdm::Status::Success);
            wdm::Status status;
            auto file = host.open(kDevicePath, status);
            ASSERT_TRUE(file);
            // A loop running when the dongle goes: its thread must end with it.
            ASSERT_EQ(file->write(BuildStartReceive(0, RadioAddress{1, 2, 3, 4, 5, 6})), wdm::Status::Success);
            host.pullOut();
            EXPECT_EQ(file->write(BuildStopReceive()), wdm::Status::NoSuchDevice);
        }
    };
    cycle(10);
    const Snapshot before;
    cycle(1000);
    ExpectBackTo(before);
}

}  // namespace
}  // namespace kirva
