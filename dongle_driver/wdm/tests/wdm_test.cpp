// The kernel-services model: request completion, events, pool failures,
// remove lock and descriptor parsing of untrusted bytes.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "dongle_driver/wdm/io_request.h"
#include "dongle_driver/wdm/kernel_event.h"
#include "dongle_driver/wdm/pool.h"
#include "dongle_driver/wdm/remove_lock.h"
#include "dongle_driver/wdm/usb_descriptors.h"

namespace wdm {
namespace {

using namespace std::chrono_literals;

TEST(IoRequest, CompletionRoutinesRunFromTheLowestLevelUpAndOnlyOnce) {
    IoRequest request(MajorFunction::Write);
    std::vector<int> order;
    request.pushCompletion([&](IoRequest&) {
        order.push_back(1);
        return CompletionAction::Continue;
    });
    request.pushCompletion([&](IoRequest&) {
        order.push_back(2);
        return CompletionAction::StopCompletion;  // this level takes it back
    });
    EXPECT_TRUE(request.complete(Status::Success, 5));
    EXPECT_FALSE(request.completed());
    EXPECT_EQ(order, (std::vector<int>{2}));
    EXPECT_TRUE(request.complete(Status::Success));
    EXPECT_TRUE(request.completed());
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
    EXPECT_EQ(request.information, 5u);
    EXPECT_FALSE(request.complete(Status::Unsuccessful, 0)) << "a second completion must be refused";
    EXPECT_EQ(request.status, Status::Success);
}

TEST(IoRequest, CancelRunsTheRoutineOnce) {
    IoRequest request(MajorFunction::Write);
    int cancels = 0;
    request.setCancelRoutine([&](IoRequest& r) {
        ++cancels;
        r.complete(Status::Cancelled, 0);
    });
    EXPECT_TRUE(request.cancel());
    EXPECT_FALSE(request.cancel());
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(request.status, Status::Cancelled);
}

TEST(KernelEvent, WaitForEitherTakesTheSetEventAndBlocksOtherwise) {
    KernelEvent stop(EventType::Synchronization);
    KernelEvent submit(EventType::Synchronization);
    submit.set();
    EXPECT_EQ(WaitForEither(stop, submit), 1);
    EXPECT_FALSE(submit.isSet()) << "a synchronization event is taken by the wait";
    stop.set();
    submit.set();
    EXPECT_EQ(WaitForEither(stop, submit), 0) << "the first one wins";

    std::thread setter([&] {
        std::this_thread::sleep_for(20ms);
        stop.set();
    });
    EXPECT_EQ(WaitForEither(stop, submit), 1) << "submit was still set";
    EXPECT_EQ(WaitForEither(stop, submit), 0);
    setter.join();
}

TEST(Pool, InjectedFailuresHitTheChosenAllocations) {
    Pool pool;
    pool.failAfter(2, 2);
    EXPECT_TRUE(pool.allocate(8));
    EXPECT_TRUE(pool.make<int>(1));
    EXPECT_FALSE(pool.allocate(8));
    EXPECT_FALSE(pool.allocate(8));
    auto block = pool.allocate(16);
    ASSERT_TRUE(block);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(block[i], 0);
}

TEST(RemoveLock, RemovalWaitsForOutstandingRequests) {
    RemoveLock lock;
    ASSERT_EQ(lock.acquire(), Status::Success);
    std::atomic<bool> removed{false};
    std::thread remover([&] {
        lock.releaseAndWait();
        removed = true;
    });
    while (lock.acquire() == Status::Success) lock.release();  // until removal has begun
    EXPECT_FALSE(removed.load());
    lock.release();
    remover.join();
    EXPECT_TRUE(removed.load());
    EXPECT_EQ(lock.acquire(), Status::DeletePending);
}

TEST(UsbDescriptors, RoundTripAndMalformedInput) {
    usb::ConfigurationDescriptor configuration;
    configuration.configurationValue = 1;
    configuration.interfaces.push_back({0, 0, {{0x81, usb::EndpointType::Bulk, 512}, {0x02, usb::EndpointType::Interrupt, 64}}});
    const auto bytes = usb::BuildConfigurationDescriptor(configuration);
    auto parsed = usb::ParseConfiguration(bytes);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->interfaces.size(), 1u);
    ASSERT_EQ(parsed->interfaces[0].endpoints.size(), 2u);
    EXPECT_EQ(parsed->interfaces[0].endpoints[1].type, usb::EndpointType::Interrupt);
    EXPECT_EQ(parsed->interfaces[0].endpoints[0].maxPacketSize, 512);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    auto longer = bytes;
    longer[2] = static_cast<std::uint8_t>(bytes.size() + 10);  // total length beyond the data
    auto zeroLength = bytes;
    zeroLength[9] = 0;  // a descriptor of length 0 would loop forever
    auto overrun = bytes;
    overrun[18] = 200;  // the first endpoint claims 200 bytes
    auto orphan = std::vector<std::uint8_t>{9, 2, 16, 0, 0, 1, 0, 0x80, 50, 7, 5, 0x81, 2, 0, 2, 0};
    const Case cases[] = {{"too short", {9, 2}},
                          {"total beyond data", longer},
                          {"zero-length descriptor", zeroLength},
                          {"descriptor runs past the end", overrun},
                          {"endpoint before any interface", orphan}};
    for (const auto& c : cases) EXPECT_FALSE(usb::ParseConfiguration(c.bytes)) << c.name;
}

}  // namespace
}  // namespace wdm
