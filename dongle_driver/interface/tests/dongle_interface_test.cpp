#include "dongle_driver/interface/dongle_interface.h"

#include <gtest/gtest.h>

#include <string>

using namespace kirva;

namespace {

const RadioAddress kModule{0x00, 0x1E, 0xC0, 0x12, 0x34, 0x56};
const WirelessPassword kPassword{'1', '2', '3', '4', '5', '6'};

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> out;
    for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

TEST(DongleFrames, SendToModuleCarryingSsidQueryIs29BytesWithLength17) {
    const std::string text = "AT+SSID=?\r";
    ASSERT_EQ(text.size(), 10u);
    auto frame = BuildSendToModule(kModule, kPassword, PayloadType::RequestText,
                                   std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    ASSERT_EQ(frame.size(), 29u);
    EXPECT_EQ(frame, Bytes({0x01, 0xFF, 0x00, 0x00, 17, 0, 0x00, 0x1E, 0xC0, 0x12, 0x34, 0x56, '1', '2', '3', '4',
                            '5', '6', 0, 'A', 'T', '+', 'S', 'S', 'I', 'D', '=', '?', '\r'}));
}

TEST(DongleFrames, FixedFramesMatchTheirByteLayout) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> built;
        std::vector<std::uint8_t> expected;
    } cases[] = {
        {"switch channel 11", BuildSwitchChannel(11), Bytes({0x00, 0xF0, 0, 0, 11, 0, 0, 0})},
        {"start receive", BuildStartReceive(0x0102, kModule),
         Bytes({0x02, 0xFF, 0, 0, 0x02, 0x01, 0x00, 0x1E, 0xC0, 0x12, 0x34, 0x56})},
        {"stop receive", BuildStopReceive(), Bytes({0x03, 0xFF, 0, 0})},
        {"start search", BuildStartSearch(0x00010006, kPassword, kSearchAllAddress),
         Bytes({0x04, 0xFF, 0, 0, 6, 0, 1, 0, '1', '2', '3', '4', '5', '6', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"stop search", BuildStopSearch(), Bytes({0x05, 0xFF, 0, 0})},
        {"open exchange", BuildOpenExchange(250), Bytes({0x06, 0xFF, 0, 0, 250})},
        {"close exchange", BuildCloseExchange(), Bytes({0x07, 0xFF, 0, 0})},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected) << c.name;
}

TEST(DongleFrames, RawDataCarriesTypeOne) {
    const std::uint8_t data[] = {0x00, 0xFF, 0x10};
    auto frame = BuildSendToModule(kModule, kPassword, PayloadType::RawData, data);
    EXPECT_EQ(frame.size(), 22u);
    EXPECT_EQ(frame[18], 1);
    EXPECT_EQ(GetU16(frame.data() + 4), 10);
}

TEST(FrameView, ShortWriteReadsZerosAndOversizedWriteIsCut) {
    const auto shortFrame = Bytes({0x02, 0xFF});
    FrameView view(shortFrame);
    EXPECT_EQ(view.code(), 0xFF02u);
    EXPECT_EQ(view.address(frame::kReceiveModule), (RadioAddress{}));
    EXPECT_EQ(view.u32(4000), 0u);

    std::vector<std::uint8_t> big(5000, 0xAB);
    FrameView cut(big);
    EXPECT_EQ(cut.writtenLength(), kMaxWriteLength);
    EXPECT_EQ(cut.bytes(2040, 100).size(), 8u);
}

TEST(NotifyArea, SearchResultWithTwoModules) {
    std::vector<std::uint8_t> area(kNotifyBufferSize, 0);
    PutU32(area.data(), 20);
    PutU32(area.data() + 4, 2);
    for (int i = 0; i < 12; ++i) area[8 + i] = static_cast<std::uint8_t>(i + 1);
    auto parsed = ParseSearchNotify(area);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->addresses.size(), 2u);
    EXPECT_EQ(parsed->addresses[1], (RadioAddress{7, 8, 9, 10, 11, 12}));

    PutU32(area.data(), 26);  // length disagrees with the count
    EXPECT_FALSE(ParseSearchNotify(area));
    PutU32(area.data(), 8 + 6 * 400);
    PutU32(area.data() + 4, 400);  // beyond the cap
    EXPECT_FALSE(ParseSearchNotify(area));
    EXPECT_FALSE(ParseSearchNotify(std::span(area).first(5)));
}

}  // namespace
