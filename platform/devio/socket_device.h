#pragma once
// A device served by a device host over a Unix stream socket: one connection
// per open handle. A reader thread takes the host's answers and event
// signals; calls from several threads are served one at a time.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/devio/device_endpoint.h"
#include "platform/devio/device_wire.h"

namespace kit::devio {

// How long a program waits for its device's host. A host that is stopped,
// hung or not a device host at all must not hold the program.
struct SocketTimeouts {
    std::chrono::milliseconds greeting{5000};  // connection set-up
    std::chrono::milliseconds call{10000};     // one request, sent and answered
};

class SocketDevice : public DeviceEndpoint {
public:
    // Connects; nullptr with NotFound when nobody serves the socket, Io when
    // the host does not greet in time, Busy when it has no slot left.
    static std::unique_ptr<SocketDevice> connect(const std::string& socketPath, DevError& error,
                                                 SocketTimeouts timeouts = {});
    ~SocketDevice() override;

    DevError write(std::span<const std::uint8_t> frame, std::uint32_t* deviceStatus = nullptr) override;
    ControlResult control(std::uint32_t code, std::span<const std::uint8_t> input, std::size_t outputSize) override;
    HandleValue exportEvent(HandleValue local) override;
    void close() override;

private:
    SocketDevice(int fd, SocketTimeouts timeouts);
    ControlResult call(WireType type, std::span<const std::uint8_t> body);
    void readerLoop();

    int m_fd;
    const SocketTimeouts m_timeouts;
    std::mutex m_callMutex;  // one request at a time
    std::mutex m_mutex;
    std::condition_variable m_answered;
    std::optional<WireMessage> m_reply;
    bool m_closed = false;
    std::thread m_reader;
};

}  // namespace kit::devio
