// The radio engine on the virtual dongle: request frames byte for byte, the
// counters, the exchange, and the reply filters of the receive and search
// loops.

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "dongle_driver/driver/dongle_device.h"
#include "dongle_driver/driver/radio_frame.h"
#include "dongle_driver/driver/tests/driver_rig.h"
#include "sim/radio/reply_frame.h"

namespace kirva::testing {
namespace {

using namespace std::chrono_literals;
using wdm::Status;

constexpr auto kLong = 10s;
const RadioAddress kOwn{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

std::vector<std::uint8_t> Send(std::string_view text, const RadioAddress& to = kModuleA) {
    return BuildSendToModule(to, kPassword, PayloadType::RequestText, DriverRig::Text(text));
}

class RadioEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(rig.plug(), Status::Success);
        file = rig.open();
        std::vector<std::uint8_t> out;
        ASSERT_EQ(file->control(IOCTL_UDX_SET_READ_EVENT, read.input(), 0, out), Status::Success);
        ASSERT_EQ(file->write(BuildSwitchChannel(1)), Status::Success);
    }

    // A reply of the module as the dongle would receive it.
    sim::radio::ReplyFrameFields Reply(std::string text, std::uint8_t command, std::uint8_t channel = 1) {
        sim::radio::ReplyFrameFields fields;
        fields.destination = kOwn;
        fields.module = kModuleA;
        fields.sequenceNumber = 7;
        fields.channel = channel;
        fields.commandNumber = command;
        fields.text = std::move(text);
        fields.text.push_back('\0');
        return fields;
    }
    void Inject(const sim::radio::ReplyFrameFields& fields) { rig.dongle->inject(sim::radio::BuildReplyFrame(fields)); }
    std::string NotifyText() {
        const auto area = rig.notify(*file);
        const auto length = GetU32(area.data());
        if (length < 4) return {};
        return std::string(area.begin() + 4, area.begin() + length);
    }

    DriverRig rig;
    std::unique_ptr<HostFile> file;
    HandedEvent read;
};

TEST_F(RadioEngineTest, SendToModuleBecomesOneRequestFrame) {
    ASSERT_EQ(file->write(BuildSwitchChannel(6)), Status::Success);
    ASSERT_EQ(file->write(Send("AT+SSID=?\r")), Status::Success);
    ASSERT_EQ(rig.dongle->sentCount(), 1u);
    const auto frame = rig.dongle->recentFrames().back();
    ASSERT_EQ(frame.size(), 10u + 64u);
    EXPECT_EQ(GetU32(frame.data()), (74u - 16u) << 2);
    EXPECT_EQ(GetU32(frame.data() + 4), 0x2828u);
    EXPECT_EQ(GetU32(frame.data() + 8), 0x4001u);
    EXPECT_EQ(GetU32(frame.data() + 12), 0u) << "descriptor counter starts at 0";
    EXPECT_EQ(GetU16(frame.data() + 16), 0u);
    EXPECT_TRUE(std::equal(kModuleA.begin(), kModuleA.end(), frame.begin() + 20));
    EXPECT_TRUE(std::equal(kOwn.begin(), kOwn.end(), frame.begin() + 26));
    EXPECT_EQ(GetU16(frame.data() + 38), 1u << 4) << "sequence counter is incremented first";
    EXPECT_EQ(frame[54], 0xDD);
    EXPECT_EQ(frame[55], 18);
    EXPECT_TRUE(std::equal(kPassword.begin(), kPassword.end(), frame.begin() + 56));
    EXPECT_EQ(frame[62], 1) << "command number incremented before sending";
    EXPECT_EQ(frame[63], 0);
    EXPECT_EQ(std::string(frame.begin() + 64, frame.end()), "AT+SSID=?\r");
    EXPECT_EQ(rig.dongle->channel(), 6);
    EXPECT_EQ(rig.traced(" SetChannel 6!\n"), 1);
    EXPECT_EQ(rig.traced("switch channal OK!\n"), 2);
}

TEST_F(RadioEngineTest, DescriptorCounterWrapsAfter4095) {
    for (int i = 0; i < 4097; ++i) ASSERT_EQ(file->write(Send("AT+\r")), Status::Success);
    const auto frames = rig.dongle->recentFrames();
    EXPECT_EQ(GetU32(frames[frames.size() - 2].data() + 12), 4095u) << "the 4096th frame";
    EXPECT_EQ(GetU32(frames.back().data() + 12), 0u);
    EXPECT_EQ(GetU16(frames.back().data() + 38) >> 4, 4097u & 0xFFF);
}

TEST_F(RadioEngineTest, ExchangeNumbersTheFollowingTransmissions) {
    ASSERT_EQ(file->write(BuildOpenExchange(10)), Status::Success);
    EXPECT_EQ(rig.dongle->registerValue(0xC014) & (1u << 24), 1u << 24);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(file->write(Send("AT+PMTF\r")), Status::Success);
    const auto frames = rig.dongle->recentFrames();
    ASSERT_EQ(frames.size(), 3u);  // the switch of the set-up sent no frame
    EXPECT_EQ(frames[0][62], 11);
    EXPECT_EQ(frames[1][62], 12);
    EXPECT_EQ(frames[2][62], 13);
    ASSERT_EQ(file->write(BuildCloseExchange()), Status::Success);
    EXPECT_EQ(rig.dongle->registerValue(0xC014) & (1u << 24), 0u);
    ASSERT_EQ(file->write(Send("AT+\r")), Status::Success);
    EXPECT_EQ(rig.dongle->recentFrames().back()[62], 1);
}

TEST_F(RadioEngineTest, ReplyFiltersDropEverythingButTheAnswer) {
    ASSERT_EQ(file->write(Send("AT+QVER=?\r")), Status::Success);  // command number 1
    ASSERT_EQ(file->write(BuildStartReceive(0, kModuleA)), Status::Success);

    auto otherModule = Reply("+OK=B", 1);
    otherModule.module = kModuleB;
    auto notReply = Reply("+OK=subtype", 1);
    auto wrongChannel = Reply("+OK=chan", 1, 9);
    auto stale = Reply("+OK=stale", 0);
    auto good = Reply("+OK=good\n\n", 1);
    Inject(otherModule);
    auto subtypeFrame = sim::radio::BuildReplyFrame(notReply);
    subtypeFrame[8] = 0x00;  // management subtype 0
    rig.dongle->inject(subtypeFrame);
    Inject(wrongChannel);
    Inject(stale);
    Inject(good);
    ASSERT_TRUE(read.event->wait(kLong));
    ASSERT_EQ(file->write(BuildStopReceive()), Status::Success);
    EXPECT_EQ(NotifyText(), std::string("+OK=good\n\n\0", 11)) << "an earlier frame got through a filter";
    EXPECT_EQ(rig.traced("Mac unequal\n"), 1);
    EXPECT_EQ(rig.traced("Type unequal\n"), 2);  // subtype, and the stale command number
    EXPECT_EQ(rig.traced("Channel unequal\n"), 1);
    EXPECT_EQ(rig.traced("Cmd unequal\n"), 1);
    EXPECT_EQ(rig.traced("g_cmd_num:1,0\n"), 1);
}

TEST_F(RadioEngineTest, RetransmittedReplyIsDroppedAfterAcceptance) {
    ASSERT_EQ(file->write(Send("AT+QMAC=?\r")), Status::Success);
    ASSERT_EQ(file->write(BuildStartReceive(0, kModuleA)), Status::Success);
    auto first = Reply("+OK=first\n\n", 1);
    Inject(first);
    ASSERT_TRUE(read.event->wait(kLong));

    ASSERT_EQ(file->write(BuildStartReceive(0, kModuleA)), Status::Success);
    auto retry = first;
    retry.retry = true;
    auto fresh = Reply("+OK=second\n\n", 1);
    fresh.sequenceNumber = 8;
    Inject(retry);
    Inject(fresh);
    ASSERT_TRUE(read.event->wait(kLong));
    ASSERT_EQ(file->write(BuildStopReceive()), Status::Success);
    EXPECT_EQ(NotifyText(), std::string("+OK=second\n\n\0", 13));
    EXPECT_EQ(rig.traced("Retry\n"), 1);
}

TEST_F(RadioEngineTest, EmptyLoopLeavesAnEmptyArea) {
    ASSERT_EQ(file->write(BuildStartReceive(0, kModuleA)), Status::Success);
    ASSERT_EQ(file->write(BuildStopReceive()), Status::Success);
    const auto area = rig.notify(*file);
    EXPECT_EQ(GetU32(area.data()), 0u);
    EXPECT_FALSE(read.event->wait(0ms));
}

TEST_F(RadioEngineTest, TruncatedReplyFrameIsNotAccepted) {
    ASSERT_EQ(file->write(Send("AT+\r")), Status::Success);
    ASSERT_EQ(file->write(BuildStartReceive(0, kModuleA)), Status::Success);
    auto full = sim::radio::BuildReplyFrame(Reply("+OK=cut\n\n", 1));
    rig.dongle->inject(std::vector<std::uint8_t>(full.begin(), full.begin() + 30));
    Inject(Reply("+OK=whole\n\n", 1));
    ASSERT_TRUE(read.event->wait(kLong));
    ASSERT_EQ(file->write(BuildStopReceive()), Status::Success);
    EXPECT_EQ(NotifyText(), std::string("+OK=whole\n\n\0", 12));
}

TEST_F(RadioEngineTest, FailedReadsAreRetriedUntilTheReplyArrives) {
    // Stalls and transfer errors are transient; a cancel or a removal is not.
    for (const auto status : {wdm::usb::UsbdStatus::Error, wdm::usb::UsbdStatus::Stall}) {
        rig.dongle->setTransferFaults({.failedReads = 2, .status = status});
        ASSERT_EQ(file->write(Send("AT+QVER=?\r")), Status::Success);
        ASSERT_EQ(file->write(BuildStartReceive(0, kModuleA)), Status::Success);
        Inject(Reply("+OK=late\n\n", rig.host.functionDevice()->extensionAs<DongleDevice>().engine().commandNumber()));
        ASSERT_TRUE(read.event->wait(kLong)) << "the loop idled after a failed read";
        ASSERT_EQ(file->write(BuildStopReceive()), Status::Success);
        EXPECT_EQ(NotifyText(), std::string("+OK=late\n\n\0", 11));
    }
    EXPECT_EQ(rig.dongle->failedReadCount(), 4u);
}

class SearchTest : public RadioEngineTest {
protected:
    // Starts a search, lets `answers` reply frames reach the driver, stops.
    std::vector<RadioAddress> Search(std::uint32_t channel, std::size_t answers) {
        EXPECT_EQ(file->write(BuildStartSearch(channel, kPassword, kSearchAllAddress)), Status::Success);
        EXPECT_TRUE(rig.dongle->waitDelivered(answers, kLong));
        return StopAndList();
    }
    std::vector<RadioAddress> StopAndList() {
        EXPECT_EQ(file->write(BuildStopSearch()), Status::Success);
        area = rig.notify(*file);
        auto parsed = ParseSearchNotify(area);
        EXPECT_TRUE(parsed);
        return parsed ? parsed->addresses : std::vector<RadioAddress>{};
    }
    std::vector<std::uint8_t> area;
};

TEST_F(SearchTest, ModuleAnsweringTwiceIsListedOnce) {
    auto a = rig.addModule(kModuleA, 4);
    rig.addModule(kModuleB, 4);
    a->setFaults({.duplicateReplies = true});
    const auto found = Search(4, 3);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], kModuleA);
    EXPECT_EQ(found[1], kModuleB);
    EXPECT_EQ(GetU32(area.data()), 20u);
    EXPECT_EQ(rig.traced("Mac retry\n"), 1);
}

TEST_F(SearchTest, SearchTunesFirstAndDropsAnswersNamingAnotherChannel) {
    ASSERT_EQ(file->write(BuildSwitchChannel(5)), Status::Success);
    auto a = rig.addModule(kModuleA, 3);
    rig.addModule(kModuleB, 3);
    a->setFaults({.reportChannel = 5});
    const auto found = Search(3, 2);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], kModuleB);
    EXPECT_EQ(rig.dongle->channel(), 3);
}

TEST_F(SearchTest, ChannelZeroSearchesOnTheCurrentChannel) {
    ASSERT_EQ(file->write(BuildSwitchChannel(7)), Status::Success);
    rig.addModule(kModuleA, 7);
    const auto found = Search(0, 1);
    EXPECT_EQ(found.size(), 1u);
    EXPECT_EQ(rig.traced(" SetChannel 7!\n"), 1) << "channel 0 must not tune";
}

TEST_F(SearchTest, ListStopsAt333Addresses) {
    ASSERT_EQ(file->write(BuildStartSearch(1, kPassword, kSearchAllAddress)), Status::Success);
    for (int i = 0; i < 340; ++i) {
        sim::radio::ReplyFrameFields answer;
        answer.destination = kOwn;
        answer.module = {0x02, 0, 0, 0, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        answer.channel = 1;
        answer.text = std::string("+OK\n\n\0", 6);
        rig.dongle->inject(sim::radio::BuildReplyFrame(answer));
    }
    ASSERT_TRUE(rig.dongle->waitDelivered(340, kLong));
    const auto found = StopAndList();
    ASSERT_EQ(found.size(), 333u);
    EXPECT_EQ(found.back()[5], 332 & 0xFF);
    EXPECT_EQ(GetU32(area.data()), 8u + 6u * 333u);
}

TEST_F(SearchTest, FailedReadsDoNotEndTheSearch) {
    rig.addModule(kModuleA, 4);
    rig.dongle->setTransferFaults({.failedReads = 3});
    const auto found = Search(4, 1);
    EXPECT_EQ(found.size(), 1u);
}

TEST_F(SearchTest, SearchThatCannotBeSentLeavesNoOldList) {
    rig.addModule(kModuleA, 4);
    ASSERT_EQ(Search(4, 1).size(), 1u);
    rig.dongle->setTransferFaults({.failedWrites = 1});
    ASSERT_EQ(file->write(BuildStartSearch(5, kPassword, kSearchAllAddress)), Status::Success);
    EXPECT_EQ(rig.traced("transfer not ok!"), 1);
    EXPECT_TRUE(StopAndList().empty()) << "channel 4's module listed under channel 5";
    EXPECT_EQ(GetU32(area.data()), 0u);
}

TEST_F(SearchTest, SearchSendsTheBroadcastFrame) {
    Search(4, 0);
    const auto frame = rig.dongle->recentFrames().back();
    EXPECT_TRUE(std::equal(kSearchAllAddress.begin(), kSearchAllAddress.end(), frame.begin() + 20));
    EXPECT_EQ(frame[55], 13);
    EXPECT_EQ(frame.size(), 69u);
    EXPECT_EQ(std::string(frame.begin() + 64, frame.end()), std::string("AT+\r\0", 5));
    EXPECT_EQ(rig.dongle->channel(), 4);
}

}  // namespace
}  // namespace kirva::testing

namespace kirva::testing {
namespace {

// The tool runs one loop at a time; another program may start both. A stop
// raced the other loop's first read and waited for it for ever.
TEST(RadioEngineLoops, BothLoopsAtOnceStopWithoutWaitingForEachOther) {
    DriverRig rig;
    ASSERT_EQ(rig.plug(), Status::Success);
    auto file = rig.open();
    auto cycles = std::async(std::launch::async, [&] {
        for (int i = 0; i < 200; ++i) {
            if (file->write(BuildStartReceive(0, kModuleA)) != Status::Success ||
                file->write(BuildStartSearch(0, kPassword, kSearchAllAddress)) != Status::Success ||
                file->write(BuildStartReceive(0, kModuleB)) != Status::Success ||
                file->write(BuildStopSearch()) != Status::Success || file->write(BuildStopReceive()) != Status::Success)
                return false;
        }
        return true;
    });
    if (cycles.wait_for(kLong) != std::future_status::ready) {
        ADD_FAILURE() << "a stop waits for the other loop's read";
        rig.host.pullOut();  // ends every read, and with it the wait
    }
    EXPECT_TRUE(cycles.get());
    auto& engine = rig.host.functionDevice()->extensionAs<DongleDevice>().engine();
    EXPECT_FALSE(engine.receiveRunning());
    EXPECT_FALSE(engine.searchRunning());
}

}  // namespace
}  // namespace kirva::testing
