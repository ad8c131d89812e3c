#include "config_tool/links/serial_reply_gatherer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

namespace tarnwave {
namespace {

// A line that delivers one scripted chunk per read ("" = an empty read); after the
// script every read is empty.
struct ScriptedLine {
  std::deque<std::string> chunks;
  std::vector<std::size_t> requested;
  bool goneAfterScript = false;

  GatherRead operator()(std::span<std::byte> buffer, std::size_t& got) {
    requested.push_back(buffer.size());
    got = 0;
    if (chunks.empty()) return goneAfterScript ? GatherRead::Gone : GatherRead::Data;
    std::string chunk = chunks.front();
    chunks.pop_front();
    got = std::min(chunk.size(), buffer.size());
    std::memcpy(buffer.data(), chunk.data(), got);
    return GatherRead::Data;
  }
};

struct GatherRun {
  std::optional<GatherOutcome> outcome;
  std::vector<std::size_t> requested;
  std::int64_t slept;
  int sleeps;
};

GatherRun Gather(std::uint32_t timeout, std::deque<std::string> chunks, bool gone = false) {
  ScriptedLine line{std::move(chunks), {}, gone};
  kit::ManualClock clock;
  auto read = [&line](std::span<std::byte> b, std::size_t& got) { return line(b, got); };
  GatherRun run{GatherSerialReply(timeout, read, clock, nullptr), line.requested, clock.sleptMilliseconds(), clock.sleepCount()};
  return run;
}

TEST(GatherSerialReply, ReplyInTwoReadsIsCompleteAfterTheSecond) {
  GatherRun run = Gather(3000, {"+OK=H1.0", ",F2.0\r\n\r\n", "never read"});
  ASSERT_TRUE(run.outcome);
  EXPECT_EQ(run.outcome->text, "+OK=H1.0,F2.0\r\n\r\n");
  EXPECT_EQ(run.outcome->reads, 2);
  EXPECT_EQ(run.slept, 10);  // one 10 ms pause after the first read with data
  EXPECT_EQ(run.requested[0], 512u);
}

TEST(GatherSerialReply, TerminatorSplitOverTwoReadsStillEndsTheReply) {
  GatherRun run = Gather(3000, {"+OK\r\n\r", "\n", "never read"});
  ASSERT_TRUE(run.outcome);
  EXPECT_EQ(run.outcome->text, "+OK\r\n\r\n");
}

TEST(GatherSerialReply, UnterminatedReplyRunsTimeoutOver100Reads) {
  GatherRun run = Gather(3000, {"+OK=no end"});
  ASSERT_TRUE(run.outcome);
  EXPECT_EQ(run.outcome->reads, 30);
  EXPECT_EQ(run.outcome->text, "+OK=no end");
  EXPECT_EQ(run.slept, 10 + 29 * 100);
}

TEST(GatherSerialReply, MoreThan1536BytesStopTheGathering) {
  std::deque<std::string> chunks(4, std::string(512, 'x'));  // garbage without a terminator
  chunks.push_back("never read");
  GatherRun run = Gather(100000, chunks);
  ASSERT_TRUE(run.outcome);
  EXPECT_EQ(run.outcome->reads, 4);
  EXPECT_EQ(run.outcome->text.size(), 2048u);
}

TEST(GatherSerialReply, ReadsNeverRunPastTheBuffer) {
  std::deque<std::string> chunks = {std::string(1500, 'a'), std::string(600, 'b'), std::string(600, 'c')};
  GatherRun run = Gather(100000, chunks);
  ASSERT_TRUE(run.outcome);
  EXPECT_LE(run.outcome->text.size(), kGatherBufferSize);
  for (std::size_t asked : run.requested) EXPECT_LE(asked, kGatherReadSize);
}

TEST(GatherSerialReply, SocketReceiveStopsAtTheFirstEmptyRead) {
  GatherRun run = Gather(12288, {"+OK=5\r\n\r\nhel", "lo", ""});
  ASSERT_TRUE(run.outcome);
  EXPECT_EQ(run.outcome->text, "+OK=5\r\n\r\nhello");
  EXPECT_EQ(run.outcome->reads, 3);
  EXPECT_EQ(run.slept, 20);
}

TEST(GatherSerialReply, FewerThanThreeBytesIsNoReply) {
  EXPECT_FALSE(Gather(3000, {}).outcome);
  EXPECT_FALSE(Gather(3000, {"OK"}).outcome);
  EXPECT_EQ(Gather(3000, {}).sleeps, 30);
  EXPECT_TRUE(Gather(3000, {"+OK"}).outcome);
  // Time-outs below 100 ms make no read at all.
  EXPECT_FALSE(Gather(99, {"+OK\r\n\r\n"}).outcome);
}

TEST(GatherSerialReply, HangUpEndsTheGatheringAtOnce) {
  GatherRun run = Gather(3000, {"+OK=par"}, true);
  ASSERT_TRUE(run.outcome);
  EXPECT_EQ(run.outcome->reads, 2);
  EXPECT_EQ(run.outcome->text, "+OK=par");
}

TEST(GatherSerialReply, NulBytesAreKept) {
  std::string reply("+OK=a\0b\r\n\r\n", 11);
  GatherRun run = Gather(3000, {reply});
  ASSERT_TRUE(run.outcome);
  EXPECT_EQ(run.outcome->text, reply);
}

TEST(GatherSerialReply, StopRequestEndsBeforeTheNextRead) {
  ScriptedLine line;
  kit::ManualClock clock;
  int reads = 0;
  auto read = [&](std::span<std::byte> b, std::size_t& got) {
    ++reads;
    return line(b, got);
  };
  auto outcome = GatherSerialReply(3000, read, clock, [&] { return reads >= 2; });
  EXPECT_FALSE(outcome);
  EXPECT_EQ(reads, 2);
}

}  // namespace
}  // namespace tarnwave
