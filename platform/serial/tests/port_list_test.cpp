#include "platform/serial/port_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/serial/pseudo_terminal.h"

namespace kit {
namespace {

namespace fs = std::filesystem;

TEST(PortList, AnnouncedVirtualPortsAreListedWhileTheyExist) {
  fs::path runtime = fs::temp_directory_path() / ("kit-portlist-" + std::to_string(::getpid()));
  fs::create_directories(runtime / "serial");
  ::setenv("KIT_RUNTIME_DIR", runtime.c_str(), 1);

  PseudoTerminal pty;
  ASSERT_EQ(pty.open(), SerialError::Ok);
  std::ofstream(runtime / "serial" / "module-1") << pty.portPath() << "\n";
  std::ofstream(runtime / "serial" / "stale") << "/dev/pts/does-not-exist\n";
  // Announcements are files anyone may write: only character devices count as ports.
  const fs::path notDevices[] = {"/etc/passwd", runtime, "/dev/null-does-not-exist"};
  for (const fs::path& path : notDevices)
    std::ofstream(runtime / "serial" / ("bogus-" + path.filename().string())) << path.string() << "\n";

  std::vector<std::string> ports = ListSerialPorts();
  EXPECT_EQ(std::count(ports.begin(), ports.end(), pty.portPath()), 1);
  EXPECT_EQ(std::count(ports.begin(), ports.end(), "/dev/pts/does-not-exist"), 0);
  for (const fs::path& path : notDevices) EXPECT_EQ(std::count(ports.begin(), ports.end(), path.string()), 0) << path;

  std::string path = pty.portPath();
  pty.close();
  ports = ListSerialPorts();
  EXPECT_EQ(std::count(ports.begin(), ports.end(), path), 0);

  fs::remove_all(runtime);
  ::unsetenv("KIT_RUNTIME_DIR");
}

TEST(PortList, RuntimeDirFollowsTheEnvironment) {
  ::setenv("KIT_RUNTIME_DIR", "/tmp/kit-a", 1);
  EXPECT_EQ(KitRuntimeDir(), "/tmp/kit-a");
  EXPECT_EQ(SerialAnnounceDir(), "/tmp/kit-a/serial");
  ::unsetenv("KIT_RUNTIME_DIR");
  ::setenv("XDG_RUNTIME_DIR", "/run/user/5", 1);
  EXPECT_EQ(KitRuntimeDir(), "/run/user/5/kit");
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(KitRuntimeDir(), "/tmp/kit-" + std::to_string(::getuid()));
}

}  // namespace
}  // namespace kit
