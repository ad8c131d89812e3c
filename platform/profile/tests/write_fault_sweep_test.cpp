// A write that fails at each of its steps in turn (each write, the flush, the rename), as
// a full disk would: the file on disk is then the old file or the new one, never a mix,
// no temporary file is left behind, and the failure is reported.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/faults/file_faults.h"
#include "platform/profile/atomic_file.h"
#include "platform/profile/profile_file.h"
#include "platform/profile/tests/temp_folder.h"
#include "platform/test_support/file_contents.h"

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

// Runs `write` with a fault at step 1, 2, ... until a run meets no fault; checks each run.
template <typename Write>
int Sweep(const std::string& path, const std::string& before, const std::string& after, Write write) {
  int n = 1;
  for (;; ++n) {
    SCOPED_TRACE(::testing::Message() << "fault at step " << n);
    WriteBytes(path, before);
    kit::faults::FailFileStep(n, ENOSPC);
    const bool written = write();
    const bool fired = kit::faults::FileStepFaultFired();
    kit::faults::FailFileStep(0, 0);
    EXPECT_EQ(written, !fired) << "a failed step must fail the write, and only then";
    EXPECT_EQ(ReadFileBytes(path), fired ? before : after);
    EXPECT_EQ(EntriesIn(std::filesystem::path(path).parent_path()), 1u) << "a temporary file was left";
    if (!fired || n > 1000) break;
  }
  return n;
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
