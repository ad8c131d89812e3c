#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printer_setup/winenv/machine_root.h"

namespace kit::winenv {

// A started process. Dropping the object releases it without stopping it, as
// closing a process handle does: a process that has not ended keeps running.
class ChildProcess {
public:
    enum class WaitOutcome { Ended, TimedOut };

    explicit ChildProcess(pid_t pid) : m_pid(pid) {}
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&&) = delete;
    ChildProcess(const ChildProcess&) = delete;

    // Blocks until the process ends or `limit` passes.
    [[nodiscard]] WaitOutcome wait(std::chrono::milliseconds limit);
    [[nodiscard]] bool ended() const { return m_ended; }
    // The exit code once ended (128 + signal number for a killed process).
    [[nodiscard]] int exitCode() const { return m_exitCode; }
    [[nodiscard]] pid_t pid() const { return m_pid; }

private:
    bool poll();

    pid_t m_pid = -1;
    bool m_ended = false;
    int m_exitCode = -1;
};

// Starts processes from Windows command lines. The machine knows a single
// program: the printer setup command ("rundll32 printui.dll,PrintUIEntry ..."),
// which runs as the separate program `kit-printer-setup` with the root and the
// current directory handed over. Any other command line cannot be started.
class ProcessRunner {
public:
    ProcessRunner(const MachineRoot& root, std::filesystem::path printerSetupProgram);

    // kit-printer-setup next to the running program.
    [[nodiscard]] static std::filesystem::path DefaultPrinterSetupProgram();

    // Starts the command with `currentDirectory` (a drive path) as the
    // current directory; nothing when it cannot be started.
    [[nodiscard]] std::optional<ChildProcess> createProcess(std::string_view commandLine,
                                                            std::string_view currentDirectory) const;

    // Starts the command without waiting for it. The process is remembered so
    // that a program can let such commands finish before it exits.
    [[nodiscard]] bool startDetached(std::string_view commandLine, std::string_view currentDirectory);

    // Waits for every process started by startDetached, each at most `limit`.
    void waitForDetached(std::chrono::milliseconds limit);

    // The program arguments a command line maps to; nothing for unknown commands.
    [[nodiscard]] std::optional<std::vector<std::string>> programArguments(
        std::string_view commandLine, std::string_view currentDirectory) const;

private:
    const MachineRoot& m_root;
    std::filesystem::path m_printerSetupProgram;
    std::vector<ChildProcess> m_detached;
};

}  // namespace kit::winenv
