// A write that fails at each of its steps in turn (each write, the flush, the rename), as
// a full disk would: the file on disk is then the old file or the new one, never a mix,
// no temporary file is left behind, and the failure is reported.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/profile/atomic_file.h"
#include "platform/profile/profile_file.h"
#include "platform/profile/tests/temp_folder.h"
#include "platform/test_support/file_contents.h"
#include "platform/test_support/file_fault_sweep.h"

namespace kit::profile {
namespace {

using kit::test_support::ReadFileBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::size_t EntriesIn(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

// A write with a fault at each of its steps in turn; every run leaves the old or the new
// file and nothing else.
template <typename Write>
int Sweep(const std::string& path, const std::string& before, const std::string& after, Write write) {
  return kit::test_support::SweepFileFaults([&] { WriteBytes(path, before); }, write, [&](bool fired, bool written) {
    EXPECT_EQ(written, !fired) << "a failed step must fail the write, and only then";
    EXPECT_EQ(ReadFileBytes(path), fired ? before : after);
    EXPECT_EQ(EntriesIn(std::filesystem::path(path).parent_path()), 1u) << "a temporary file was left";
  });
}

TEST(WriteFaultSweep, ProfileWriteKeepsTheOldFileAtEveryFailingStep) {
  TempFolder dir;
  const std::string path = dir.file("user.ini");
  const std::string before = "[ComSet]\r\nComEn=1\r\nBaudRate=115200\r\n";
  const std::string after = "[ComSet]\r\nComEn=1\r\nBaudRate=9600\r\n";
  const int steps = Sweep(path, before, after, [&] { return bool(WriteProfileString("ComSet", "BaudRate", "9600", path)); });
  EXPECT_EQ(steps, 4) << "one write, the flush and the rename, then a run without a fault";
}

TEST(WriteFaultSweep, ALargeReplacementFailsAtEachOfItsWrites) {
  TempFolder dir;
  const std::string path = dir.file("big.ini");
  const std::string after(3 * 4096 + 100, 'x');  // four writes of the temporary file
  const int steps = Sweep(path, "old", after, [&] { return bool(ReplaceFileAtomically(path, after)); });
  EXPECT_EQ(steps, 7);
}

}  // namespace
}  // namespace kit::profile
