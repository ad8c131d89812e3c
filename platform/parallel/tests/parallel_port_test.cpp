#include "platform/parallel/parallel_port.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/test_support/file_contents.h"

namespace kit {
namespace {

namespace fs = std::filesystem;

fs::path TempDir() {
  char pattern[] = "/tmp/parallel-test.XXXXXX";
  return fs::path(mkdtemp(pattern));
}

using kit::test_support::ReadFileBytes;

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ParallelPort, DevicePathDefaultsAndOverride) {
  ::unsetenv("J57_LPT2");
  EXPECT_EQ(ParallelPort::DevicePath(1), "/dev/lp0");
  EXPECT_EQ(ParallelPort::DevicePath(3), "/dev/lp2");
  ::setenv("J57_LPT2", "/tmp/out.bin", 1);
  EXPECT_EQ(ParallelPort::DevicePath(2), "/tmp/out.bin");
  ::setenv("J57_LPT2", "", 1);
  EXPECT_EQ(ParallelPort::DevicePath(2), "/dev/lp1");
  ::unsetenv("J57_LPT2");
  EXPECT_EQ(ParallelPort::DevicePath(0), std::nullopt);
  EXPECT_EQ(ParallelPort::DevicePath(4), std::nullopt);
}

TEST(ParallelPort, FileOutputIsAppendedPerOpen) {
  const fs::path dir = TempDir();
  const std::string path = (dir / "lpt.bin").string();
  for (std::string_view text : {"one", "two"}) {
    auto opened = ParallelPort::Open(path);
    ASSERT_TRUE(std::holds_alternative<ParallelPort>(opened));
    EXPECT_EQ(std::get<ParallelPort>(opened).write(AsBytes(text)), std::nullopt);
  }
  EXPECT_EQ(ReadFileBytes(path), "onetwo");
  fs::remove_all(dir);
}

TEST(ParallelPort, FifoWithoutReaderIsAnErrorNotAHang) {
  const fs::path dir = TempDir();
  const std::string path = (dir / "printer.fifo").string();
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  auto opened = ParallelPort::Open(path);
  ASSERT_TRUE(std::holds_alternative<std::string>(opened));
  EXPECT_NE(std::get<std::string>(opened).find("no printer is reading"), std::string::npos);
  fs::remove_all(dir);
}

TEST(ParallelPort, FifoWithReaderCarriesEveryByte) {
  const fs::path dir = TempDir();
  const std::string path = (dir / "printer.fifo").string();
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string payload(200000, 'x');  // more than a pipe holds, so the writer must block
  std::string received;
  std::thread drain([&] {
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(reader, buffer, sizeof buffer);
      if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
      else if (n == 0 && received.size() == payload.size()) break;
      else if (n < 0 && errno != EAGAIN) break;
      else ::usleep(1000);
    }
  });
  {
    auto opened = ParallelPort::Open(path);
    ASSERT_TRUE(std::holds_alternative<ParallelPort>(opened));
    EXPECT_EQ(std::get<ParallelPort>(opened).write(AsBytes(payload)), std::nullopt);
  }
  drain.join();
  ::close(reader);
  EXPECT_EQ(received.size(), payload.size());
  fs::remove_all(dir);
}

TEST(ParallelPort, MissingFolderAndBrokenPipeAreReported) {
  auto missing = ParallelPort::Open("/nonexistent-folder/lpt");
  ASSERT_TRUE(std::holds_alternative<std::string>(missing));
  EXPECT_NE(std::get<std::string>(missing).find("No such file"), std::string::npos);
  // A missing device is not made into a file, even for root.
  const std::string absentDevice = "/dev/kit-no-such-lp";
  auto absent = ParallelPort::Open(absentDevice);
  ASSERT_TRUE(std::holds_alternative<std::string>(absent));
  EXPECT_FALSE(fs::exists(absentDevice));

  const fs::path dir = TempDir();
  const std::string path = (dir / "printer.fifo").string();
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  auto opened = ParallelPort::Open(path);
  ASSERT_TRUE(std::holds_alternative<ParallelPort>(opened));
  ::close(reader);
  ::signal(SIGPIPE, SIG_IGN);
  auto error = std::get<ParallelPort>(opened).write(AsBytes("lost"));
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find("Broken pipe"), std::string::npos) << *error;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kit
