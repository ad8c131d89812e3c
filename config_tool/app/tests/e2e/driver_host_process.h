#pragma once
// `kirva_udxd --simulate PLAN [ARGS...]` in the background for the end-to-end tests,
// serving in a test's runtime folder; ended (SIGTERM, then waited for) by stop() or at
// destruction.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/test_support/program_path.h"

extern char** environ;

namespace tarnwave::e2e {

class DriverHostProcess {
 public:
  DriverHostProcess() = default;
  DriverHostProcess(const DriverHostProcess&) = delete;
  DriverHostProcess& operator=(const DriverHostProcess&) = delete;
  ~DriverHostProcess() { stop(); }

  // Starts the host and waits (up to 5 s) for its socket in `runtimeFolder`, which must
  // be the KIT_RUNTIME_DIR the host inherits. Its standard output is dropped.
  void start(const std::filesystem::path& runtimeFolder, const std::string& plan,
             std::vector<std::string> extraArguments = {}) {
    const std::string program = kit::test_support::ProgramPath("kirva_udxd").string();
    std::vector<std::string> args{program, "--simulate", plan};
    args.insert(args.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ASSERT_EQ(posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    const std::filesystem::path socket = runtimeFolder / "MERVO_QTM31RB07_TEST.sock";
    for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(socket)) << "the driver host did not come up";
  }

  void stop() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
  }

  pid_t pid() const { return m_pid; }

 private:
  pid_t m_pid = -1;
};

}  // namespace tarnwave::e2e
