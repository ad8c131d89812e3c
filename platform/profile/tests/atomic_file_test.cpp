#include "platform/profile/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/profile/profile_file.h"
#include "platform/profile/tests/temp_folder.h"
#include "platform/test_support/file_contents.h"

namespace kit::profile {
namespace {

using kit::test_support::ReadFileBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The writer process dies after its first chunk: readers must still find the old file.
TEST(AtomicFileTest, AWriterKilledMidwayLeavesTheOldFileWhole) {
  TempFolder dir;
  const auto path = dir.file("user.ini");
  const std::string old = "[ComSet]\r\nBaudRate=9600\r\n";
  WriteBytes(path, old);
  const std::string fresh(64 * 1024, 'n');

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    (void)ReplaceFileAtomically(path, fresh, [](std::size_t) { ::_exit(3); });
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 3);  // it really stopped inside the write
  EXPECT_EQ(ReadFileBytes(path), old);
  EXPECT_EQ(ReadProfileInt("ComSet", "BaudRate", 0, path), 9600);

  // The next write succeeds and replaces the file whole.
  ASSERT_TRUE(ReplaceFileAtomically(path, fresh));
  EXPECT_EQ(ReadFileBytes(path), fresh);
}

TEST(AtomicFileTest, ReplacingKeepsThePermissionBits) {
  TempFolder dir;
  const auto path = dir.file("mode.ini");
  WriteBytes(path, "x");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(ReplaceFileAtomically(path, "y"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(AtomicFileTest, ALinkedFileIsReplacedBehindItsLink) {
  TempFolder dir;
  const auto target = dir.file("real.ini");
  const auto link = dir.file("user.ini");
  WriteBytes(target, "old");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ASSERT_TRUE(ReplaceFileAtomically(link, "new"));
  struct stat st {};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ReadFileBytes(target), "new");
}

TEST(AtomicFileTest, ReadingRefusesFoldersAndReportsMissingFiles) {
  TempFolder dir;
  std::string content;
  EXPECT_EQ(ReadWholeFile(dir.file("none"), content).error, FileError::NotFound);
  EXPECT_EQ(ReadWholeFile(dir.path(), content).error, FileError::Io);
}

}  // namespace
}  // namespace kit::profile
