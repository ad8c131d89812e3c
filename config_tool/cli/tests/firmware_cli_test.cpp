// tarnwave-cli firmware and info as real processes against a virtual module on a
// pseudo-terminal, paced at 115200 baud.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/test_support/file_contents.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using kit::test_support::ProgramRun;

std::string Image(const std::string& payload) {
  std::string image = "\x64\x36\x55\x77" "abcd";
  const auto length = static_cast<std::uint32_t>(payload.size());
  for (int shift = 24; shift >= 0; shift -= 8) image += static_cast<char>((length >> shift) & 0xFF);
  return image + "efgh" + payload;
}

std::string Payload(std::size_t size) {
  std::string payload = std::string("H1.3.0,F4.2.1@ 2027-02-03") + '\0';
  for (std::size_t i = payload.size(); i < size; ++i) payload += static_cast<char>(i % 251);
  payload.resize(size);
  return payload;
}

kitsim::ModuleFaults Paced() {
  kitsim::ModuleFaults faults;
  faults.paceBaud = 115200;
  return faults;
}

class FirmwareCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_module.start());
    m_port = "--port " + m_module.portPath() + " ";
    m_dir = fs::temp_directory_path() / ("fw-cli-" + std::to_string(::getpid()));
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  ProgramRun cli(const std::string& arguments) {
    return kit::test_support::RunProgram(kit::test_support::ProgramPath("tarnwave-cli"), arguments);
  }
  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path path = m_dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  template <class F>
  auto engine(F f) {
    decltype(f(std::declval<kitsim::ModuleEngine&>())) value{};
    m_module.inspect([&](kitsim::ModuleEngine& e) { value = f(e); });
    return value;
  }

  kitsim::SerialModuleServer m_module{kitsim::VirtualModuleAddress(9), Paced(), false};
  std::string m_port;
  fs::path m_dir;
};

TEST_F(FirmwareCliTest, UpdatesThenInfoShowsTheNewVersion) {
  ProgramRun before = cli(m_port + "info");
  ASSERT_EQ(before.exitCode, 0) << before.output;
  EXPECT_NE(before.output.find("\nHardwareVersion=1.2.0\nFirmwareVersion=3.0.7\nReleaseTime=2026-12-11\n"),
            std::string::npos)
      << before.output;
  EXPECT_EQ(before.output.rfind("Mac=02-4B-", 0), 0u) << before.output;

  const std::string path = write("fw.img", Image(Payload(1300)));
  ProgramRun update = cli(m_port + "firmware " + path);
  ASSERT_EQ(update.exitCode, 0) << update.output;
  EXPECT_EQ(update.output, "block 1 of 3\nblock 2 of 3\nblock 3 of 3\nUpdate firmware is finished.\n");
  EXPECT_EQ(engine([](auto& e) { return e.blocksAccepted(); }), 3);

  // The new firmware runs after the next reset.
  ASSERT_EQ(cli(m_port + "reset").exitCode, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ProgramRun after = cli(m_port + "info");
  ASSERT_EQ(after.exitCode, 0) << after.output;
  EXPECT_NE(after.output.find("\nHardwareVersion=1.3.0\nFirmwareVersion=4.2.1\nReleaseTime=2027-02-03\n"),
            std::string::npos)
      << after.output;
}

TEST_F(FirmwareCliTest, FailuresExitWithThePagesMessage) {
  struct Case {
    std::string arguments;
    int exitCode;
    std::string message;
  };
  std::string bad = Image(Payload(600));
  bad[10] = 9;  // length field
  const Case cases[] = {
      {m_port + "firmware " + write("bad.img", bad), 1,
       "Please choose the right file to update！\nUpdate firmware error, the error position is 0,\n"},
      {m_port + "firmware " + (m_dir / "missing.img").string(), 1, "Can not open the file！"},
      {m_port + "firmware " + m_dir.string(), 1, "Can not open the file！"},
      {"--dongle firmware " + write("ok.img", Image(Payload(600))), 2, "needs a serial port"},
      {"firmware " + write("ok.img", Image(Payload(600))), 2, "give --port"},
  };
  for (const Case& c : cases) {
    ProgramRun run = cli(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
  }
  m_module.inspect([](kitsim::ModuleEngine& e) { e.loader().setFaults({.refuseBlock = 0, .refuseTimes = 2}); });
  ProgramRun refused = cli(m_port + "firmware " + write("ok.img", Image(Payload(600))));
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.output.find("Update firmware error, the error position is 0,parameters is invalid!"),
            std::string::npos)
      << refused.output;
  EXPECT_EQ(m_module.requests().back(), "AT+&UPDM=0");
}

TEST_F(FirmwareCliTest, OnATerminalAProgressBar) {
  if (::access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "no script(1) to give the program a terminal";
  const std::string path = write("fw.img", Image(Payload(1300)));
  const std::string command = "'" + kit::test_support::ProgramPath("tarnwave-cli").string() + "' " + m_port +
                              "firmware '" + path + "'";
  ProgramRun run = kit::test_support::RunShell("/usr/bin/script -qec \"" + command + "\" /dev/null");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("\r[##########....................] 1/3 blocks"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\r[##############################] 3/3 blocks"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" left"), std::string::npos);
  EXPECT_NE(run.output.find("Update firmware is finished."), std::string::npos);
  EXPECT_EQ(run.output.find("block 1 of 3"), std::string::npos);
}

TEST_F(FirmwareCliTest, CtrlCStopsAfterTheCurrentBlock) {
  const std::string path = write("big.img", Image(Payload(512 * 60)));
  const fs::path output = m_dir / "out.txt";
  const std::string command = "exec '" + kit::test_support::ProgramPath("tarnwave-cli").string() + "' " + m_port +
                              "firmware '" + path + "' > '" + output.string() + "' 2>&1";
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (engine([](auto& e) { return e.blocksAccepted(); }) < 3 && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ::kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string text = kit::test_support::ReadFileBytes(output);
  EXPECT_TRUE(text.ends_with("Update firmware is stopped.\n")) << text;
  const int accepted = engine([](auto& e) { return e.blocksAccepted(); });
  EXPECT_GE(accepted, 3);
  EXPECT_LT(accepted, 59);
}

}  // namespace
