#include "platform/devio/device_wire.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace kit::devio {

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::send(fd, data, length, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, std::uint8_t* data, std::size_t length) {
    while (length > 0) {
        const ssize_t got = ::recv(fd, data, length, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        data += got;
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

bool KnownType(std::uint8_t type) {
    switch (static_cast<WireType>(type)) {
        case WireType::Hello:
        case WireType::Write:
        case WireType::Control:
        case WireType::Export:
        case WireType::Reply:
        case WireType::Signal:
            return true;
    }
    return false;
}

}  // namespace

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset + 4 > bytes.size()) return 0;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    return value;
}

bool SendMessage(int fd, WireType type, std::span<const std::uint8_t> body) {
    if (body.size() > kMaxBody) return false;
    std::vector<std::uint8_t> message;
    message.reserve(5 + body.size());
    message.push_back(static_cast<std::uint8_t>(type));
    AppendU32(message, static_cast<std::uint32_t>(body.size()));
    message.insert(message.end(), body.begin(), body.end());
    return WriteAll(fd, message.data(), message.size());
}

std::optional<WireMessage> ReceiveMessage(int fd) {
    std::uint8_t header[5];
    if (!ReadAll(fd, header, sizeof header)) return std::nullopt;
    if (!KnownType(header[0])) return std::nullopt;
    const std::uint32_t length = ReadU32(header, 1);
    if (length > kMaxBody) return std::nullopt;
    WireMessage message;
    message.type = static_cast<WireType>(header[0]);
    message.body.resize(length);
    if (length > 0 && !ReadAll(fd, message.body.data(), length)) return std::nullopt;
    return message;
}

}  // namespace kit::devio
