#include "platform/devio/socket_device.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/sync/event.h"

namespace kit::devio {

std::unique_ptr<SocketDevice> SocketDevice::connect(const std::string& socketPath, DevError& error) {
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
    // The host greets every connection with the outcome of opening the
    // device for it (the device may be gone while the host still runs).
    auto greeting = ReceiveMessage(fd);
    if (!greeting || greeting->type != WireType::Reply) {
        ::close(fd);
        error = DevError::Removed;
        return nullptr;
    }
    error = static_cast<DevError>(ReadU32(greeting->body, 0));
    if (error != DevError::None) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SocketDevice>(new SocketDevice(fd));
}

SocketDevice::SocketDevice(int fd) : m_fd(fd) { m_reader = std::thread([this] { readerLoop(); }); }

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
        result.error = DevError::Removed;
        return result;
    }
    std::unique_lock lock(m_mutex);
    m_answered.wait(lock, [this] { return m_reply.has_value() || m_closed; });
    if (!m_reply) {
        result.error = DevError::Removed;
        return result;
    }
    const auto& reply = m_reply->body;
    result.error = static_cast<DevError>(ReadU32(reply, 0));
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
