#pragma once
// The driver host's control socket "kirva_udxd.ctl" in the runtime folder:
// `kirva_udxd --unplug` and `--replug` reach the running host through it,
// instead of signalling whatever process a pid file names. Only processes
// of the host's own user are heard; one line in, one line out.

#include <optional>
#include <string>

namespace kirva {

std::string HostControlPath();

class HostControl {
public:
    HostControl() = default;
    ~HostControl();
    HostControl(const HostControl&) = delete;
    HostControl& operator=(const HostControl&) = delete;

    // Binds the socket (one left by a dead host is replaced). False with a message.
    bool listen(std::string& error);
    int listenHandle() const { return m_fd; }
    // Takes one waiting request; returns its command ("unplug", "replug")
    // and keeps the connection for the answer, or nullopt when there was
    // nothing valid to take.
    std::optional<std::string> accept();
    // Answers the request taken last and ends its connection.
    void answer(const std::string& text);
    void close();

private:
    int m_fd = -1;
    int m_client = -1;
};

// Sends one command to the running host and returns its answer; nullopt with
// a message when no host answers in time.
std::optional<std::string> SendHostCommand(const std::string& command, std::string& error);

// Writes this process's id into FILE without following a link there: the
// number goes to a new file beside it, which then replaces FILE.
bool WritePidFile(const std::string& path, std::string& error);

}  // namespace kirva
