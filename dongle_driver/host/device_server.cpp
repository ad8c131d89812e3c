#include "dongle_driver/host/device_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>

#include "dongle_driver/interface/dongle_interface.h"
#include "platform/devio/device_wire.h"
#include "platform/handles/handle_table.h"
#include "platform/sync/event.h"

namespace kirva {

using kit::devio::DevError;
using kit::devio::WireType;

DevError DevErrorFor(wdm::Status status) {
    switch (status) {
        case wdm::Status::Success: return DevError::None;
        case wdm::Status::NoSuchDevice:
        case wdm::Status::DeletePending:
        case wdm::Status::DeviceNotConnected:
        case wdm::Status::DeviceRemoved: return DevError::Removed;
        case wdm::Status::ObjectNameNotFound: return DevError::NotFound;
        default: return DevError::DeviceFailed;
    }
}

namespace {

bool SendReply(int fd, DevError error, wdm::Status status, std::span<const std::uint8_t> output = {}) {
    std::vector<std::uint8_t> body;
    kit::devio::AppendU32(body, static_cast<std::uint32_t>(error));
    kit::devio::AppendU32(body, static_cast<std::uint32_t>(status));
    body.insert(body.end(), output.begin(), output.end());
    return kit::devio::SendMessage(fd, WireType::Reply, body);
}

// An event a program exported: our stand-in that the driver signals, and the
// program's own value to name in the signal message.
struct ProxyEvent {
    std::shared_ptr<kit::Event> event;
    kit::ScopedHandle handle;
    kit::HandleValue clientValue;
};

constexpr std::size_t kMaxProxies = 8;

}  // namespace

DeviceServer::DeviceServer(DriverHost& host, std::string socketPath, int greetingLimitMs)
    : m_host(host), m_socketPath(std::move(socketPath)), m_greetingLimitMs(greetingLimitMs) {}

DeviceServer::~DeviceServer() { stop(); }

bool DeviceServer::listen(std::string& error) {
    sockaddr_un address{};
    if (m_socketPath.size() >= sizeof address.sun_path) {
        error = "socket path too long: " + m_socketPath;
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, m_socketPath.c_str(), m_socketPath.size() + 1);

    // A socket left behind by a host that died is replaced; a live one is not.
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe >= 0 && ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        ::close(probe);
        error = "another driver host already serves " + m_socketPath;
        return false;
    }
    if (probe >= 0) ::close(probe);
    ::unlink(m_socketPath.c_str());

    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    m_stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_listenFd < 0 || m_stopFd < 0 ||
        ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listenFd, 8) != 0) {
        error = "cannot listen on " + m_socketPath + ": " + std::strerror(errno);
        return false;
    }
    ::chmod(m_socketPath.c_str(), 0600);
    return true;
}

void DeviceServer::reapFinished() {
    for (auto it = m_connections.begin(); it != m_connections.end();) {
        if (it->done.load()) {
            it->thread.join();
            it = m_connections.erase(it);
        } else {
            ++it;
        }
    }
}

void DeviceServer::acceptOne() {
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    std::lock_guard lock(m_mutex);
    reapFinished();
    if (static_cast<int>(m_connections.size()) >= kMaxConnections) {
        // Said at once, without waiting for the program's greeting: the
        // answer sits in the socket until the program reads it.
        const timeval brief{0, 100000};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &brief, sizeof brief);
        SendReply(fd, DevError::Busy, wdm::Status::InsufficientResources);
        // Closing over an unread greeting would reset the connection before
        // the program reads the answer: take the greeting first (briefly).
        pollfd greeting{fd, POLLIN, 0};
        if (::poll(&greeting, 1, 50) > 0) {
            std::uint8_t discard[64];
            (void)::recv(fd, discard, sizeof discard, MSG_DONTWAIT);
        }
        ::close(fd);
        return;
    }
    // A program that stops in the middle of a message, or stops reading,
    // must not hold its connection thread forever.
    const timeval limit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    auto& connection = m_connections.emplace_back();
    connection.fd = fd;
    ++m_active;
    connection.thread = std::thread([this, &connection] { serve(connection); });
}

void DeviceServer::stop() {
    if (m_stopFd >= 0) {
        const std::uint64_t one = 1;
        (void)::write(m_stopFd, &one, sizeof one);
    }
    {
        std::lock_guard lock(m_mutex);
        for (auto& connection : m_connections) connection.thread.join();
        m_connections.clear();
    }
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        ::unlink(m_socketPath.c_str());
        m_listenFd = -1;
    }
    if (m_stopFd >= 0) ::close(m_stopFd);
    m_stopFd = -1;
}

bool DeviceServer::awaitGreeting(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_greetingLimitMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fds[] = {{fd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || fds[1].revents) return false;
        break;
    }
    // The greeting itself is read under the connection's receive limit.
    const auto hello = kit::devio::ReceiveMessage(fd);
    return hello && hello->type == WireType::Hello && kit::devio::ReadU32(hello->body, 0) == kit::devio::kWireVersion;
}

void DeviceServer::serve(Connection& connection) {
    const int fd = connection.fd;
    if (!awaitGreeting(fd)) {
        ::close(fd);
        --m_active;
        connection.done = true;
        return;
    }
    wdm::Status opened;
    auto file = m_host.open(kDevicePath, opened);
    std::vector<ProxyEvent> proxies;
    if (SendReply(fd, file ? DevError::None : DevErrorFor(opened == wdm::Status::ObjectNameNotFound
                                                               ? wdm::Status::ObjectNameNotFound
                                                               : opened),
                  opened) &&
        file) {
        for (;;) {
            std::vector<pollfd> fds = {{fd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
            for (const auto& proxy : proxies) fds.push_back({proxy.event->pollHandle(), POLLIN, 0});
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[1].revents) break;
            bool failed = false;
            for (std::size_t i = 0; i < proxies.size(); ++i) {
                if ((fds[2 + i].revents & POLLIN) && proxies[i].event->claim()) {
                    std::vector<std::uint8_t> body;
                    kit::devio::AppendU32(body, proxies[i].clientValue);
                    failed |= !kit::devio::SendMessage(fd, WireType::Signal, body);
                }
            }
            if (failed) break;
            if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            auto message = kit::devio::ReceiveMessage(fd);
            if (!message) break;
            const auto& body = message->body;
            bool sent = true;
            switch (message->type) {
                case WireType::Write: {
                    const auto status = file->write(body);
                    sent = SendReply(fd, DevErrorFor(status), status);
                    break;
                }
                case WireType::Control: {
                    if (body.size() < 8) {
                        sent = SendReply(fd, DevError::InvalidArgument, wdm::Status::InvalidParameter);
                        break;
                    }
                    const auto code = kit::devio::ReadU32(body, 0);
                    const auto outputSize = std::min<std::size_t>(kit::devio::ReadU32(body, 4), kit::devio::kMaxBody - 8);
                    std::vector<std::uint8_t> output;
                    const auto status =
                        file->control(code, std::span(body).subspan(8), outputSize, output);
                    sent = SendReply(fd, DevErrorFor(status), status, output);
                    break;
                }
                case WireType::Export: {
                    if (proxies.size() >= kMaxProxies) {
                        sent = SendReply(fd, DevError::InvalidArgument, wdm::Status::InsufficientResources);
                        break;
                    }
                    auto event = std::make_shared<kit::Event>(kit::EventReset::Auto);
                    kit::ScopedHandle handle(kit::HandleTable::process().insert(event));
                    std::vector<std::uint8_t> value;
                    kit::devio::AppendU32(value, handle.value());
                    proxies.push_back({event, std::move(handle), kit::devio::ReadU32(body, 0)});
                    sent = SendReply(fd, DevError::None, wdm::Status::Success, value);
                    break;
                }
                default:
                    sent = false;  // a program never sends answers or signals
            }
            if (!sent) break;
        }
    }
    if (file) file->close();
    proxies.clear();
    ::close(fd);
    --m_active;
    connection.done = true;
}

}  // namespace kirva
