#include "platform/devio/socket_device.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sync/event.h"

namespace kit::devio {

namespace {

void SetSocketTimeout(int fd, int option, std::chrono::milliseconds limit) {
    timeval value{};
    value.tv_sec = static_cast<time_t>(limit.count() / 1000);
    value.tv_usec = static_cast<suseconds_t>((limit.count() % 1000) * 1000);
    ::setsockopt(fd, SOL_SOCKET, option, &value, sizeof value);
}

}  // namespace

const char* DevErrorText(DevError error) {
    switch (error) {
        case DevError::None: return "no error";
        case DevError::NotFound: return "no such device is served";
        case DevError::Removed: return "the device is gone";
        case DevError::DeviceFailed: return "the device refused the request";
        case DevError::InvalidArgument: return "invalid request";
        case DevError::Io: return "the device's host does not answer";
        case DevError::Busy: return "the driver host is busy";
    }
    return "unknown error";
}

std::unique_ptr<SocketDevice> SocketDevice::connect(const std::string& socketPath, DevError& error,
                                                    SocketTimeouts timeouts) {
    sockaddr_un address{};
    if (socketPath.size() >= sizeof address.sun_path) {
        error = DevError::InvalidArgument;
        return nullptr;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = DevError::Io;
        return nullptr;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        error = DevError::NotFound;
        return nullptr;
    }
    // Sends never block for longer than a call may take. The program greets
    // first; the host answers with the outcome of opening the device for it
    // (the device may be gone while the host still runs).
    SetSocketTimeout(fd, SO_SNDTIMEO, timeouts.call);
    SetSocketTimeout(fd, SO_RCVTIMEO, timeouts.greeting);
    std::vector<std::uint8_t> hello;
    AppendU32(hello, kWireVersion);
    if (!SendMessage(fd, WireType::Hello, hello)) {
        ::close(fd);
        error = DevError::Io;
        return nullptr;
    }
    const auto greeting = ReceiveMessage(fd);
    if (!greeting || greeting->type != WireType::Reply) {
        // Silence until the limit (a stopped host, a listener that never
        // answers) and a connection that ends without a word look alike here.
        ::close(fd);
        error = DevError::Io;
        return nullptr;
    }
    const std::uint32_t code = ReadU32(greeting->body, 0);
    error = code <= static_cast<std::uint32_t>(DevError::Busy) ? static_cast<DevError>(code) : DevError::Io;
    if (error != DevError::None) {
        ::close(fd);
        return nullptr;
    }
    // From here the reader waits for signals as long as the handle is open;
    // each call has its own limit.
    SetSocketTimeout(fd, SO_RCVTIMEO, std::chrono::milliseconds(0));
    return std::unique_ptr<SocketDevice>(new SocketDevice(fd, timeouts));
}

SocketDevice::SocketDevice(int fd, SocketTimeouts timeouts) : m_fd(fd), m_timeouts(timeouts) {
    m_reader = std::thread([this] { readerLoop(); });
}

SocketDevice::~SocketDevice() {
    close();
    ::close(m_fd);
}

void SocketDevice::close() {
    {
        std::lock_guard lock(m_mutex);
        if (m_closed && !m_reader.joinable()) return;
        m_closed = true;
    }
    ::shutdown(m_fd, SHUT_RDWR);
    if (m_reader.joinable() && m_reader.get_id() != std::this_thread::get_id()) m_reader.join();
    m_answered.notify_all();
}

void SocketDevice::readerLoop() {
    for (;;) {
        auto message = ReceiveMessage(m_fd);
        if (!message) break;
        if (message->type == WireType::Signal) {
            const HandleValue value = ReadU32(message->body, 0);
            if (auto event = HandleTable::process().lookup<kit::Event>(value)) event->set();
            continue;
        }
        if (message->type != WireType::Reply) break;  // the host speaks only these two
        std::lock_guard lock(m_mutex);
        m_reply = std::move(message);
        m_answered.notify_all();
    }
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_answered.notify_all();
}

ControlResult SocketDevice::call(WireType type, std::span<const std::uint8_t> body) {
    std::lock_guard serial(m_callMutex);
    ControlResult result;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) {
            result.error = DevError::Removed;
            return result;
        }
        m_reply.reset();
    }
    if (body.size() > kMaxBody) {
        result.error = DevError::InvalidArgument;
        return result;
    }
    if (!SendMessage(m_fd, type, body)) {
        // Part of the message may be out: the stream cannot be trusted again.
        ::shutdown(m_fd, SHUT_RDWR);
        result.error = DevError::Removed;
        return result;
    }
    std::unique_lock lock(m_mutex);
    if (!m_answered.wait_for(lock, m_timeouts.call, [this] { return m_reply.has_value() || m_closed; })) {
        // A late answer would be taken for the next request's: the
        // connection ends here and later calls report the device gone.
        lock.unlock();
        ::shutdown(m_fd, SHUT_RDWR);
        result.error = DevError::Io;
        return result;
    }
    if (!m_reply) {
        result.error = DevError::Removed;
        return result;
    }
    const auto& reply = m_reply->body;
    const std::uint32_t code = ReadU32(reply, 0);
    result.error = code <= static_cast<std::uint32_t>(DevError::Busy) ? static_cast<DevError>(code) : DevError::Io;
    result.deviceStatus = ReadU32(reply, 4);
    if (reply.size() > 8) result.output.assign(reply.begin() + 8, reply.end());
    m_reply.reset();
    return result;
}

DevError SocketDevice::write(std::span<const std::uint8_t> frame, std::uint32_t* deviceStatus) {
    auto result = call(WireType::Write, frame);
    if (deviceStatus) *deviceStatus = result.deviceStatus;
    return result.error;
}

ControlResult SocketDevice::control(std::uint32_t code, std::span<const std::uint8_t> input, std::size_t outputSize) {
    std::vector<std::uint8_t> body;
    AppendU32(body, code);
    AppendU32(body, static_cast<std::uint32_t>(std::min<std::size_t>(outputSize, kMaxBody)));
    body.insert(body.end(), input.begin(), input.end());
    auto result = call(WireType::Control, body);
    if (result.output.size() > outputSize) result.output.resize(outputSize);
    return result;
}

HandleValue SocketDevice::exportEvent(HandleValue local) {
    if (!HandleTable::process().lookup<kit::Event>(local)) return kInvalidHandleValue;
    std::vector<std::uint8_t> body;
    AppendU32(body, local);
    auto result = call(WireType::Export, body);
    if (result.error != DevError::None) return kInvalidHandleValue;
    return ReadU32(result.output, 0);
}

}  // namespace kit::devio
