#include "dongle_driver/host/host_control.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/devio/device_registry.h"

namespace kirva {

namespace {

constexpr int kLimitMs = 2000;
constexpr std::size_t kMaxLine = 64;

bool AddressFor(const std::string& path, sockaddr_un& address) {
    if (path.size() >= sizeof address.sun_path) return false;
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void SetLimits(int fd) {
    const timeval limit{kLimitMs / 1000, (kLimitMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

// One line up to '\n' (not kept); nullopt on silence, end or an overlong line.
std::optional<std::string> ReadLine(int fd) {
    std::string line;
    char c = 0;
    while (line.size() < kMaxLine) {
        const ssize_t got = ::recv(fd, &c, 1, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got != 1) return std::nullopt;
        if (c == '\n') return line;
        line.push_back(c);
    }
    return std::nullopt;
}

bool WriteText(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t sent = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        done += static_cast<std::size_t>(sent);
    }
    return true;
}

}  // namespace

std::string HostControlPath() { return kit::devio::RuntimeDirectory() + "/kirva_udxd.ctl"; }

HostControl::~HostControl() { close(); }

bool HostControl::listen(std::string& error) {
    const std::string path = HostControlPath();
    sockaddr_un address{};
    if (!AddressFor(path, address)) {
        error = "socket path too long: " + path;
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            error = path + " exists and is not a socket";
            return false;
        }
        ::unlink(path.c_str());  // the caller already holds the device socket: no live host owns this
    }
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_fd, 4) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        close();
        return false;
    }
    ::chmod(path.c_str(), 0600);
    return true;
}

std::optional<std::string> HostControl::accept() {
    if (m_client >= 0) answer("error: no answer\n");
    const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return std::nullopt;
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::geteuid()) {
        ::close(fd);
        return std::nullopt;
    }
    SetLimits(fd);
    auto line = ReadLine(fd);
    if (!line) {
        ::close(fd);
        return std::nullopt;
    }
    m_client = fd;
    return line;
}

void HostControl::answer(const std::string& text) {
    if (m_client < 0) return;
    (void)WriteText(m_client, text);
    ::close(m_client);
    m_client = -1;
}

void HostControl::close() {
    if (m_client >= 0) ::close(m_client);
    m_client = -1;
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(HostControlPath().c_str());
    }
    m_fd = -1;
}

std::optional<std::string> SendHostCommand(const std::string& command, std::string& error) {
    const std::string path = HostControlPath();
    sockaddr_un address{};
    if (!AddressFor(path, address)) {
        error = "socket path too long: " + path;
        return std::nullopt;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    SetLimits(fd);
    std::optional<std::string> reply;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        error = "no driver host runs (nothing serves " + path + ")";
    else if (!WriteText(fd, command + "\n") || !(reply = ReadLine(fd)))
        error = "the driver host did not answer";
    ::close(fd);
    return reply;
}

bool WritePidFile(const std::string& path, std::string& error) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    const std::string text = std::to_string(::getpid()) + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace kirva
