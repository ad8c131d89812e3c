#include <gtest/gtest.h>

#include "sim/radio/radio_module.h"
#include "sim/radio/reply_frame.h"

namespace sim::radio {
namespace {

const kirva::RadioAddress kModule{0x00, 0x1E, 0xC0, 0, 0, 1};
const kirva::RadioAddress kDongle{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

class FixedAnswerer : public ModuleAnswerer {
public:
    std::optional<std::string> answer(HeardKind, std::string_view) override { return "+OK=a\r\nb\r\n\r\n"; }
    std::string wirelessPassword() const override { return "654321"; }
};

HeardFrame Request(const kirva::RadioAddress& to, std::string password = "654321") {
    HeardFrame frame;
    frame.destination = to;
    frame.source = kDongle;
    std::copy_n(password.begin(), 6, frame.password.begin());
    frame.commandNumber = 9;
    frame.payload = "AT+QVER=?\r";
    return frame;
}

TEST(DongleFraming, SerialReplyBecomesLineFeedsWithZeroEnd) {
    EXPECT_EQ(ToDongleFraming("+OK\r\n\r\n"), std::string("+OK\n\n\0", 6));
    EXPECT_EQ(ToDongleFraming("+OK=a\r\nb\r\n\r\n"), std::string("+OK=a\nb\n\n\0", 10));
    EXPECT_EQ(ToDongleFraming(std::string(400, 'x')).size(), kMaxReplyText) << "cut to one frame";
}

TEST(RadioModule, AnswersOnlyItsChannelAddressAndPassword) {
    RadioModule module(kModule, 6, std::make_shared<FixedAnswerer>());
    EXPECT_TRUE(module.hear(Request(kModule), 5).empty()) << "other channel";
    EXPECT_TRUE(module.hear(Request(kDongle), 6).empty()) << "other address";
    EXPECT_TRUE(module.hear(Request(kModule, "000000"), 6).empty()) << "wrong password";
    const auto replies = module.hear(Request(kModule), 6);
    ASSERT_EQ(replies.size(), 1u);
    const auto& frame = replies[0];
    EXPECT_EQ(frame[8], 0x10) << "subtype 1";
    EXPECT_TRUE(std::equal(kDongle.begin(), kDongle.end(), frame.begin() + 12));
    EXPECT_TRUE(std::equal(kModule.begin(), kModule.end(), frame.begin() + 18));
    EXPECT_EQ(frame[39], 3 + 10);
    EXPECT_EQ(frame[40], 6);
    EXPECT_EQ(frame[41], 9);
    EXPECT_EQ(std::string(frame.begin() + 43, frame.end()), std::string("+OK=a\nb\n\n\0", 10));
}

TEST(RadioModule, SearchIsAnsweredWithPlainOk) {
    RadioModule module(kModule, 6, std::make_shared<FixedAnswerer>());
    const auto replies = module.hear(Request(kirva::kSearchAllAddress), 6);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(std::string(replies[0].begin() + 43, replies[0].end()), std::string("+OK\n\n\0", 6));
}

TEST(RadioModule, FaultKnobsShapeTheReplies) {
    struct Case {
        const char* name;
        ModuleFaults faults;
        std::size_t frames;
    } cases[] = {
        {"silent", {.silent = true}, 0},
        {"drop one", {.dropReplies = 1}, 0},
        {"duplicate", {.duplicateReplies = true}, 2},
        {"retry", {.retryReplies = true}, 2},
        {"stale first", {.staleCommandFirst = true}, 2},
    };
    for (const auto& c : cases) {
        RadioModule module(kModule, 6, std::make_shared<FixedAnswerer>());
        module.setFaults(c.faults);
        const auto replies = module.hear(Request(kModule), 6);
        ASSERT_EQ(replies.size(), c.frames) << c.name;
        if (std::string(c.name) == "retry") EXPECT_EQ(replies[1][9] & 0x08, 0x08);
        if (std::string(c.name) == "stale first") EXPECT_EQ(replies[0][41], 8);
    }
    RadioModule shifted(kModule, 6, std::make_shared<FixedAnswerer>());
    shifted.setFaults({.reportChannel = 11});
    EXPECT_EQ(shifted.hear(Request(kModule), 6)[0][40], 11);
}

}  // namespace
}  // namespace sim::radio
