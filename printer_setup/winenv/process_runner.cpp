#include "printer_setup/winenv/process_runner.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "printer_setup/winenv/command_line.h"

extern char** environ;

namespace kit::winenv {
namespace fs = std::filesystem;

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(other.m_pid), m_ended(other.m_ended), m_exitCode(other.m_exitCode) {
    other.m_pid = -1;
}

bool ChildProcess::poll() {
    if (m_ended || m_pid <= 0) return m_ended;
    int status = 0;
    pid_t result = ::waitpid(m_pid, &status, WNOHANG);
    if (result == m_pid) {
        m_ended = true;
        if (WIFEXITED(status)) m_exitCode = WEXITSTATUS(status);
        else if (WIFSIGNALED(status)) m_exitCode = 128 + WTERMSIG(status);
    } else if (result < 0) {
        m_ended = true;  // not our child any more; nothing left to wait for
    }
    return m_ended;
}

ChildProcess::WaitOutcome ChildProcess::wait(std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!poll()) {
        if (std::chrono::steady_clock::now() >= deadline) return WaitOutcome::TimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WaitOutcome::Ended;
}

ProcessRunner::ProcessRunner(const MachineRoot& root, fs::path printerSetupProgram)
    : m_root(root), m_printerSetupProgram(std::move(printerSetupProgram)) {}

fs::path ProcessRunner::DefaultPrinterSetupProgram() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::path("kit-printer-setup");
    return self.parent_path() / "kit-printer-setup";
}

std::optional<std::vector<std::string>> ProcessRunner::programArguments(
    std::string_view commandLine, std::string_view currentDirectory) const {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.size() < 2) return std::nullopt;
    if (!EqualNoCase(words[0], "rundll32") && !EqualNoCase(words[0], "rundll32.exe")) return std::nullopt;
    if (!EqualNoCase(words[1], "printui.dll,PrintUIEntry")) return std::nullopt;
    std::vector<std::string> args{m_printerSetupProgram.string(), "--root", m_root.folder().string()};
    if (!currentDirectory.empty()) {
        args.push_back("--cwd");
        args.emplace_back(currentDirectory);
    }
    args.push_back("--");
    args.insert(args.end(), words.begin() + 2, words.end());
    return args;
}

std::optional<ChildProcess> ProcessRunner::createProcess(std::string_view commandLine,
                                                         std::string_view currentDirectory) const {
    auto args = programArguments(commandLine, currentDirectory);
    if (!args) return std::nullopt;
    std::vector<char*> argv;
    for (auto& a : *args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::string hostDirectory;
    if (auto host = m_root.resolve(currentDirectory); host && fs::is_directory(*host)) {
        hostDirectory = host->string();
        posix_spawn_file_actions_addchdir_np(&actions, hostDirectory.c_str());
    }
    pid_t pid = -1;
    int rc = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return std::nullopt;
    return ChildProcess(pid);
}

bool ProcessRunner::startDetached(std::string_view commandLine, std::string_view currentDirectory) {
    auto child = createProcess(commandLine, currentDirectory);
    if (!child) return false;
    m_detached.push_back(std::move(*child));
    return true;
}

void ProcessRunner::waitForDetached(std::chrono::milliseconds limit) {
    for (auto& child : m_detached) (void)child.wait(limit);
    m_detached.clear();
}

}  // namespace kit::winenv
