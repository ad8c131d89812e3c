#include "sim/module/serial_framing.h"

#include <gtest/gtest.h>

namespace kitsim {
namespace {

TEST(SerialFraming, RepliesEndInTheTerminator) {
  EXPECT_EQ(FormatSerialReply(EngineReply::Ok()), "+OK\r\n\r\n");
  EXPECT_EQ(FormatSerialReply(EngineReply::Error(4)), "+ERR=-4\r\n\r\n");
  EngineReply lines;
  lines.lines = std::vector<std::string>{"a", "b"};
  EXPECT_EQ(FormatSerialReply(lines), "+OK=a\r\nb\r\n\r\n");
  EngineReply data = EngineReply::Value("3");
  data.trailingData = std::string("x\0y", 3);
  EXPECT_EQ(FormatSerialReply(data), std::string("+OK=3\r\n\r\nx\0y", 12));
  EngineReply silent;
  silent.silent = true;
  EXPECT_EQ(FormatSerialReply(silent), "");
}

TEST(RequestAssembler, RequestsRawDataAndOverlongLines) {
  RequestAssembler assembler;
  assembler.add("AT+SKSND=1,4\r");
  auto first = assembler.next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->bytes, "AT+SKSND=1,4");
  assembler.expectRaw(4);
  assembler.add(std::string("a\r\0bAT+QMAC=?\r", 14));
  // The raw bytes pass whole, carriage returns and NUL bytes included.
  std::string raw;
  std::vector<std::string> requests;
  while (auto piece = assembler.next()) {
    if (piece->kind == RequestAssembler::Piece::Kind::Raw)
      raw += piece->bytes;
    else
      requests.push_back(piece->bytes);
  }
  EXPECT_EQ(raw, std::string("a\r\0b", 4));
  EXPECT_EQ(requests, std::vector<std::string>{"AT+QMAC=?"});

  RequestAssembler noisy;
  noisy.add(std::string(5000, 'x'));
  noisy.add("\rAT+\r");
  auto overlong = noisy.next();
  ASSERT_TRUE(overlong);
  EXPECT_LE(overlong->bytes.size(), RequestAssembler::kMaxRequest);
  EXPECT_EQ(noisy.overflows(), 1);
  EXPECT_EQ(noisy.next()->bytes, "AT+");
}

}  // namespace
}  // namespace kitsim
