// The transport seam of ModuleLink: another kind of link (the radio dongle) brings
// its own writing, waiting and reply source; the command logic stays the same.

#include <gtest/gtest.h>

#include <deque>

#include "config_tool/links/module_transport.h"
#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/sync/event.h"

namespace tarnwave {
namespace {

using namespace std::string_literals;

// Replies in radio framing ("\n" lines, "\n\n" and a zero byte at the end), one per
// request, after the request has been written a given number of times.
class FramedTransport final : public ModuleTransport {
 public:
  std::deque<std::string> replies;
  std::vector<std::string> written;
  int answerOnWrite = 1;  // the reply comes after this many writes of a request
  bool open = true;

  ReplyFraming framing() const override { return ReplyFraming::Dongle; }
  bool isOpen() const override { return open; }
  bool sendRequest(std::string_view text) override {
    written.emplace_back(text);
    return open;
  }
  bool writeText(std::string_view text) override { return sendRequest(text); }
  bool writeRaw(std::span<const std::byte>) override { return open; }
  bool readText(std::span<char>, std::size_t& got) override {
    got = 0;
    return open;
  }
  int awaitReply(const ReplyWait& wait) override {
    // Ten slices of a tenth of the time-out; the request is written again after each.
    for (int miss = 0; miss < 10; ++miss) {
      if (static_cast<int>(written.size()) >= answerOnWrite) wait.requestEvent.set();
      if (wait.replyEvent.wait(std::chrono::milliseconds(wait.timeout / 10))) return kResultOk;
      if (!wait.resendRequest()) return kResultSendFailed;
    }
    return kResultNoResponse;
  }
  std::optional<GatheredReply> gatherReply(std::uint32_t, const std::function<bool()>&) override {
    if (replies.empty()) return std::nullopt;
    std::string text = replies.front();
    replies.pop_front();
    return GatheredReply{text, static_cast<int>(text.size()) - 4};
  }
};

TEST(ModuleTransportSeam, CommandsRunOverAnotherFraming) {
  auto owned = std::make_unique<FramedTransport>();
  FramedTransport& transport = *owned;
  transport.replies = {"+OK=1,6\n\n\0"s, "+OK=" + "0a1b2c3d4e5f,0,6,1,\"A\",40\n"s + "0a1b2c3d4e60,0,0,0,\"B\",41\n\n\0"s};
  ModuleLink link;
  ASSERT_EQ(link.openTransport(std::move(owned)), 0);
  ASSERT_EQ(link.startWorker(), 0);
  EXPECT_TRUE(link.isDongleMode());

  ModuleParameters record;
  ASSERT_EQ(link.parameter(command::CHL, CommandForm::Query, record), 0);
  EXPECT_EQ(record.ChannelSetting.enable, 1);
  EXPECT_EQ(record.ChannelSetting.channel, 6);
  EXPECT_EQ(transport.written.back(), "AT+CHL=?\r");

  ASSERT_EQ(link.startScan(), 0);
  // Over this link the device signals the read event when the reply is in.
  link.worker().requestEvent().set();
  std::vector<ScanEntry> entries;
  ASSERT_EQ(link.collectScan(entries), 0);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_STREQ(entries[1].ssid, "B");
  // Settings of a serial line do not reach this link.
  link.changeSettings({9600, 1, 1, 2});
}

TEST(ModuleTransportSeam, RetriesAndAVanishedDevice) {
  auto owned = std::make_unique<FramedTransport>();
  FramedTransport& transport = *owned;
  transport.replies = {"+OK\n\n\0"s};
  transport.answerOnWrite = 4;
  ModuleLink link;
  ASSERT_EQ(link.openTransport(std::move(owned)), 0);
  ASSERT_EQ(link.startWorker(), 0);
  ASSERT_EQ(link.attention(), 0);
  EXPECT_EQ(transport.written.size(), 4u);

  transport.open = false;
  EXPECT_EQ(link.attention(), kResultInvalidHandle);
}

}  // namespace
}  // namespace tarnwave
