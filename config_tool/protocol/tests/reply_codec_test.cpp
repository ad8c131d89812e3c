#include "config_tool/protocol/reply_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "config_tool/protocol/tests/test_reply.h"

namespace tarnwave {
namespace {

using testing::SerialReply;
using namespace std::string_literals;

TEST(ClassifyReply, PrefixDecidesTheCode) {
  struct Case {
    std::string text;
    int code;
  };
  const Case cases[] = {
      {"+OK\r\n\r\n", 0},          {"+OK=1\r\n\r\n", 0},          {"+ERR=-4\r\n\r\n", 4},
      {"+ERR=-100\r\n\r\n", 100},  {"OK\r\n\r\n", 255},           {"AT+E\r+OK\r\n\r\n", 255},
      {"+ER", 255},                {"+ERR=-x\r\n\r\n", 255},        {"\0\0\0\0"s, 255},
  };
  for (const Case& c : cases) {
    CommandRequest request;
    request.errorCode = -7;
    ClassifyReply(c.text, static_cast<int>(c.text.size()) - 4, request);
    EXPECT_EQ(request.errorCode, c.code) << c.text;
  }
}

TEST(ClassifyReply, PlainOkLeavesTheLastPayloadAlone) {
  CommandRequest request = SerialReply("+OK=abc\r\n\r\n");
  EXPECT_EQ(request.replyLength, 7);
  EXPECT_EQ(std::string(request.replyText), "abc\r\n\r\n");
  ClassifyReply("+OK\r\n\r\n", 3, request);
  EXPECT_EQ(request.errorCode, 0);
  EXPECT_EQ(request.replyLength, 7);
  EXPECT_EQ(std::string(request.replyText), "abc\r\n\r\n");
}

TEST(ClassifyReply, OverlongPayloadIsCutToTheReplyBuffer) {
  std::string text = "+OK=" + std::string(3000, 'x');
  CommandRequest request;
  ClassifyReply(text, static_cast<int>(text.size()) - 4, request);
  EXPECT_EQ(request.replyLength, kReplyCapacity);
  EXPECT_EQ(request.replyText[kReplyCapacity - 1], 'x');
}

TEST(ExtractValue, StopsAtTheTerminatorOrGivesWrong) {
  struct Case {
    std::string payload;
    int limit;
    ReplyFraming framing;
    bool wrong;
    std::string value;
  };
  const Case cases[] = {
      {"5\r\n\r\n", 4, ReplyFraming::Serial, false, "5"},
      {"12\r\n\r\n", 5, ReplyFraming::Serial, false, "12"},
      {"\r\n\r\n", 3, ReplyFraming::Serial, false, ""},
      {"123\r\n\r\n", 5, ReplyFraming::Serial, true, "wrong"},   // longer than the limit allows
      {"12345", 4, ReplyFraming::Serial, true, "wrong"},         // never terminated
      {"ab\r\nc\r\n\r\n", 8, ReplyFraming::Serial, false, "ab\r\nc"},
      {"7\n\n\0"s, 3, ReplyFraming::Dongle, false, "7"},
      {"7\n\n"s, 3, ReplyFraming::Dongle, true, "wrong"},        // the zero byte is part of the end
      {""s, 100, ReplyFraming::Serial, true, "wrong"},           // nothing to walk
  };
  for (const Case& c : cases) {
    ExtractedValue value = ExtractValue(c.payload, c.limit, c.framing);
    EXPECT_EQ(value.wrong, c.wrong) << c.payload;
    EXPECT_EQ(value.value, c.value) << c.payload;
  }
}

TEST(ReplyFieldReader, WalksValuesAndStopsWhereTheReplyEnds) {
  CommandRequest request = SerialReply("+OK=1,\"a,b\"x,9\r\n\r\n");
  ReplyFieldReader reader(request, ReplyFraming::Serial);
  EXPECT_EQ(reader.next(), "1");
  EXPECT_EQ(reader.next(), "\"a");
  EXPECT_EQ(reader.next(), "b\"x");
  EXPECT_EQ(reader.last(), "9");

  CommandRequest cut = SerialReply("+OK=1\r\n\r\n");
  ReplyFieldReader shortReader(cut, ReplyFraming::Serial);
  EXPECT_EQ(shortReader.next(), std::nullopt);
}

TEST(ReplyFieldReader, LoneZeroNeedsTheLineEndRightBehind) {
  EXPECT_TRUE(IsLoneZero(SerialReply("+OK=0\r\n\r\n"), ReplyFraming::Serial));
  EXPECT_FALSE(IsLoneZero(SerialReply("+OK=0,1\r\n\r\n"), ReplyFraming::Serial));
  EXPECT_FALSE(IsLoneZero(SerialReply("+OK=00\r\n\r\n"), ReplyFraming::Serial));
}

TEST(UnquoteText, DropsEnclosingQuotesAndCutsToTheField) {
  EXPECT_EQ(UnquoteText("\"MyNet\"", 33), "MyNet");
  EXPECT_EQ(UnquoteText("MyNet", 33), "MyNet");
  EXPECT_EQ(UnquoteText("\"", 33), "");
  EXPECT_EQ(UnquoteText("\"abcdefgh\"", 7), "abcdef");
}

}  // namespace
}  // namespace tarnwave
