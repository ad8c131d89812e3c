#include "sim/module/firmware_loader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace kitsim {
namespace {

std::string Block(int number, int count, const std::string& data) {
  std::string block(528, '\0');
  block[0] = static_cast<char>(number & 0xFF);
  block[1] = static_cast<char>(number >> 8);
  block[2] = static_cast<char>(count & 0xFF);
  block[3] = static_cast<char>(count >> 8);
  block.replace(4, data.size(), data);
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(block.data()), 516);
  for (int i = 0; i < 4; ++i) block[516 + static_cast<std::size_t>(i)] = static_cast<char>((crc >> (8 * i)) & 0xFF);
  return block;
}

// Sends one block as the tool does: the command, then (when accepted) the bytes.
int Send(FirmwareLoader& loader, const std::string& block) {
  EngineReply reply = loader.command("528");
  if (reply.error == 0) loader.takeBlock(block);
  return reply.error;
}

TEST(FirmwareLoaderTest, ACompleteTransferInstallsItsVersion) {
  FirmwareLoader loader;
  const std::string first = std::string("H2.0,F5.1@ 2027-01-01") + '\0' + std::string(490, 'x');
  ASSERT_EQ(Send(loader, Block(0, 3, first)), 0);
  ASSERT_EQ(Send(loader, Block(1, 3, "tail")), 0);
  EXPECT_EQ(loader.blocksAccepted(), 2);
  loader.install();
  EXPECT_EQ(loader.installs(), 1);
  EXPECT_EQ(loader.mainVersion(), "H2.0,F5.1@ 2027-01-01");
}

TEST(FirmwareLoaderTest, AWrongBlockStaysRefusedAndIsNeverInstalled) {
  FirmwareLoader loader;
  ASSERT_EQ(Send(loader, Block(0, 4, "a")), 0);
  std::string spoilt = Block(1, 4, "b");
  spoilt[300] ^= 1;
  ASSERT_EQ(Send(loader, spoilt), 0);  // the command before it knew nothing yet
  EXPECT_EQ(Send(loader, Block(2, 4, "c")), kErrBadParameter);
  EXPECT_EQ(Send(loader, Block(2, 4, "c")), kErrBadParameter);  // sending on does not help
  loader.install();
  EXPECT_EQ(loader.installs(), 0);
  // A fresh start of the load programme takes a new transfer.
  loader.restart();
  EXPECT_EQ(Send(loader, Block(0, 2, "a")), 0);
  EXPECT_EQ(Send(loader, Block(1, 2, "b")), 0);
  loader.install();
  EXPECT_EQ(loader.installs(), 1);
  EXPECT_EQ(loader.mainVersion(), "H1.2.0,F3.0.7@ 2026-12-11");  // no version text in that image
}

TEST(FirmwareLoaderTest, FaultKnobs) {
  FirmwareLoader loader;
  loader.setFaults({.refuseBlock = 1, .refuseTimes = 2, .silentAfterBlock = 1});
  ASSERT_EQ(Send(loader, Block(0, 3, "a")), 0);
  EXPECT_EQ(Send(loader, Block(1, 3, "b")), kErrBadParameter);
  EXPECT_EQ(Send(loader, Block(1, 3, "b")), kErrBadParameter);
  EXPECT_FALSE(loader.silent());
  EXPECT_EQ(Send(loader, Block(1, 3, "b")), 0);
  EXPECT_TRUE(loader.silent());
}

}  // namespace
}  // namespace kitsim
