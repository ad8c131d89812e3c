#pragma once
// Serves the driver's device to other processes on a Unix socket: one
// connection per open handle, the messages of platform/devio, and the
// events a program exported signalled back over its connection.

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "dongle_driver/host/driver_host.h"
#include "platform/devio/device_endpoint.h"

namespace kirva {

// How a driver status reads on the program's side.
kit::devio::DevError DevErrorFor(wdm::Status status);

class DeviceServer {
public:
    static constexpr int kMaxConnections = 16;
    // A program greets within this time or its connection is dropped, so
    // connections that say nothing cannot hold every slot.
    static constexpr int kGreetingLimitMs = 3000;

    DeviceServer(DriverHost& host, std::string socketPath, int greetingLimitMs = kGreetingLimitMs);
    ~DeviceServer();
    DeviceServer(const DeviceServer&) = delete;
    DeviceServer& operator=(const DeviceServer&) = delete;

    // Binds and listens; false with a message when the socket cannot be made
    // (a live host already serving it is not displaced).
    bool listen(std::string& error);
    int listenHandle() const { return m_listenFd; }
    // Accepts one waiting connection and serves it on its own thread.
    void acceptOne();
    // Ends every connection and removes the socket.
    void stop();
    int connectionCount() const { return m_active.load(); }

private:
    struct Connection {
        int fd = -1;
        std::thread thread;
        std::atomic<bool> done{false};
    };
    void serve(Connection& connection);
    // Waits for the program's greeting; false when it did not come in time.
    bool awaitGreeting(int fd);
    void reapFinished();

    DriverHost& m_host;
    const std::string m_socketPath;
    const int m_greetingLimitMs;
    int m_listenFd = -1;
    int m_stopFd = -1;  // eventfd: readable once the server stops
    std::mutex m_mutex;
    std::list<Connection> m_connections;
    std::atomic<int> m_active{0};
};

}  // namespace kirva
