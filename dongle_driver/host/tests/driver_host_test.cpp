// The driver host serving the device over its Unix socket: programs open it
// by name, events cross the connection, removal reaches them, and malformed
// input from a program never harms the host.

#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <future>
#include <cstring>
#include <thread>

#include "dongle_driver/host/device_server.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/simulation_plan.h"
#include "dongle_driver/host/usb_id.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/devio/device_registry.h"
#include "platform/devio/device_wire.h"
#include "platform/devio/socket_device.h"
#include "platform/handles/handle_table.h"
#include "platform/sync/event.h"
#include "sim/radio/virtual_dongle.h"

namespace kirva {
namespace {

using namespace std::chrono_literals;
using kit::devio::DevError;

const WirelessPassword kPassword{'1', '2', '3', '4', '5', '6'};
constexpr int kGreetingLimitMs = 300;

// A plain connection to a socket, saying nothing.
int ConnectRaw(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A driver host on a virtual dongle, serving its socket in a fresh runtime
// directory; an accept thread stands in for the program's main loop.
class ServedHost : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/kirva-host-test.XXXXXX";
        ASSERT_TRUE(::mkdtemp(dir));
        m_dir = dir;
        ::setenv("KIT_RUNTIME_DIR", m_dir.c_str(), 1);
        ASSERT_EQ(host.load(), wdm::Status::Success);
        for (int i = 0; i < 2; ++i)
            medium->add(std::make_shared<sim::radio::RadioModule>(SimulatedModuleAddress(6, i), 6, nullptr));
        ASSERT_EQ(host.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, medium)),
                  wdm::Status::Success);
        server = std::make_unique<DeviceServer>(host, kit::devio::SocketPathFor("MERVO_QTM31RB07_TEST"),
                                                kGreetingLimitMs);
        std::string error;
        ASSERT_TRUE(server->listen(error)) << error;
        m_acceptor = std::thread([this] {
            while (!m_stop) {
                pollfd fd{server->listenHandle(), POLLIN, 0};
                if (::poll(&fd, 1, 50) > 0) server->acceptOne();
            }
        });
    }
    void TearDown() override {
        m_stop = true;
        if (m_acceptor.joinable()) m_acceptor.join();
        server.reset();
        ::unsetenv("KIT_RUNTIME_DIR");
        ::rmdir(m_dir.c_str());
    }
    std::unique_ptr<kit::devio::DeviceEndpoint> Open() {
        DevError error;
        auto device = kit::devio::OpenDevice(kDevicePath, error);
        EXPECT_EQ(error, DevError::None);
        return device;
    }
    static std::vector<std::uint8_t> HandleBytes(kit::HandleValue value) {
        std::vector<std::uint8_t> bytes(4);
        PutU32(bytes.data(), value);
        return bytes;
    }

    DriverHost host;
    std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();
    std::unique_ptr<DeviceServer> server;

private:
    std::string m_dir;
    std::atomic<bool> m_stop{false};
    std::thread m_acceptor;
};

TEST_F(ServedHost, SearchOverTheSocketFindsTheModules) {
    auto device = Open();
    ASSERT_TRUE(device);
    ASSERT_EQ(device->write(BuildStartSearch(6, kPassword, kSearchAllAddress)), DevError::None);
    // Both answers come within the dongle's reply delay; stopping waits for
    // the loop, so only the arrival needs a wait here.
    auto* dongleDevice = host.functionDevice();
    ASSERT_TRUE(dongleDevice);
    for (int i = 0; i < 400; ++i) {
        auto area = device->control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize);
        if (NotifyAreaLength(area.output) == 20) break;
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(device->write(BuildStopSearch()), DevError::None);
    auto result = device->control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize);
    ASSERT_EQ(result.error, DevError::None);
    ASSERT_EQ(result.output.size(), kNotifyBufferSize);
    auto found = ParseSearchNotify(result.output);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->addresses.size(), 2u);
    EXPECT_EQ(found->addresses[0], SimulatedModuleAddress(6, 0));
}

TEST_F(ServedHost, RemoveEventCrossesTheConnectionWhenTheDongleIsPulled) {
    auto device = Open();
    ASSERT_TRUE(device);
    auto removeEvent = std::make_shared<kit::Event>(kit::EventReset::Auto);
    kit::ScopedHandle local(kit::HandleTable::process().insert(removeEvent));
    const auto remote = device->exportEvent(local.value());
    ASSERT_NE(remote, kit::kInvalidHandleValue);
    ASSERT_EQ(device->control(IOCTL_UDX_SET_REMOVE_EVENT, HandleBytes(remote), 0).error, DevError::None);

    host.pullOut();
    EXPECT_TRUE(removeEvent->wait(10s));
    EXPECT_EQ(device->write(BuildStopReceive()), DevError::Removed);
    DevError error;
    EXPECT_FALSE(kit::devio::OpenDevice(kDevicePath, error));
    EXPECT_EQ(error, DevError::NotFound) << "no dongle: the host serves no device";
}

TEST_F(ServedHost, MalformedMessagesEndOnlyTheirOwnConnection) {
    auto good = Open();
    ASSERT_TRUE(good);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"unknown type", {'Z', 0, 0, 0, 0}},
        {"oversized body", {'W', 0xFF, 0xFF, 0xFF, 0x7F}},
        {"answer from a program", {'R', 0, 0, 0, 0}},
        {"short control", {'C', 2, 0, 0, 0, 1, 2}},
        {"cut off mid-message", {'W', 10, 0, 0, 0, 1, 2}},
    };
    for (const auto& c : cases) {
        const int fd = ConnectRaw(kit::devio::SocketPathFor("MERVO_QTM31RB07_TEST"));
        ASSERT_GE(fd, 0) << c.name;
        ASSERT_EQ(::send(fd, c.bytes.data(), c.bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(c.bytes.size()));
        ::shutdown(fd, SHUT_WR);
        ::close(fd);
    }
    // The well-behaved program goes on working.
    EXPECT_EQ(good->write(BuildSwitchChannel(3)), DevError::None);
    EXPECT_EQ(good->control(0x222000, {}, 16).error, DevError::DeviceFailed);
    auto other = Open();
    EXPECT_TRUE(other);
}

TEST_F(ServedHost, SilentConnectionsAreDroppedAndAFullHostSaysBusy) {
    const auto path = kit::devio::SocketPathFor("MERVO_QTM31RB07_TEST");
    std::vector<int> silent;
    for (int i = 0; i < DeviceServer::kMaxConnections; ++i) silent.push_back(ConnectRaw(path));
    for (int i = 0; i < 500 && server->connectionCount() < DeviceServer::kMaxConnections; ++i)
        std::this_thread::sleep_for(10ms);
    DevError error;
    EXPECT_FALSE(kit::devio::OpenDevice(kDevicePath, error));
    EXPECT_EQ(error, DevError::Busy);
    EXPECT_STREQ(kit::devio::DevErrorText(error), "the driver host is busy");

    // Connections that never greeted go after the limit; programs get in again.
    for (int i = 0; i < 1000 && server->connectionCount() > 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(server->connectionCount(), 0);
    for (int fd : silent) ::close(fd);
    std::vector<std::unique_ptr<kit::devio::DeviceEndpoint>> programs;
    for (int i = 0; i < DeviceServer::kMaxConnections; ++i) {
        programs.push_back(Open());
        ASSERT_TRUE(programs.back()) << i;
    }
    EXPECT_FALSE(kit::devio::OpenDevice(kDevicePath, error));
    EXPECT_EQ(error, DevError::Busy) << "every slot taken by a working program";
    EXPECT_EQ(programs.front()->write(BuildSwitchChannel(2)), DevError::None) << "greeted programs are kept";
}

// A peer on a socket that accepts and then says nothing more: before the
// greeting (a listener that is no device host) or after it (a host that
// stopped). Closing it unblocks a client that has no limit of its own.
class SilentPeer {
public:
    explicit SilentPeer(bool greet) {
        char dir[] = "/tmp/kirva-silent.XXXXXX";
        m_dir = ::mkdtemp(dir);
        m_path = m_dir + "/peer.sock";
        m_listen = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, m_path.c_str(), m_path.size() + 1);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listen, 4);
        m_thread = std::thread([this, greet] {
            const int peer = ::accept(m_listen, nullptr, nullptr);
            m_peer = peer;
            if (peer >= 0 && greet && kit::devio::ReceiveMessage(peer)) {
                std::vector<std::uint8_t> ok(8, 0);
                kit::devio::SendMessage(peer, kit::devio::WireType::Reply, ok);
            }
        });
    }
    ~SilentPeer() {
        ::shutdown(m_listen, SHUT_RDWR);
        m_thread.join();
        if (m_peer >= 0) ::close(m_peer);
        ::close(m_listen);
        ::unlink(m_path.c_str());
        ::rmdir(m_dir.c_str());
    }
    const std::string& path() const { return m_path; }
    void hangUp() {
        if (const int peer = m_peer.load(); peer >= 0) ::shutdown(peer, SHUT_RDWR);
    }

private:
    std::string m_dir, m_path;
    int m_listen = -1;
    std::atomic<int> m_peer{-1};
    std::thread m_thread;
};

TEST(SocketDeviceLimits, AHostThatDoesNotAnswerEndsTheCall) {
    const kit::devio::SocketTimeouts brief{200ms, 300ms};
    {
        SilentPeer peer(false);
        auto opened = std::async(std::launch::async, [&] {
            DevError error = DevError::None;
            auto device = kit::devio::SocketDevice::connect(peer.path(), error, brief);
            return std::make_pair(device != nullptr, error);
        });
        const bool ended = opened.wait_for(10s) == std::future_status::ready;
        peer.hangUp();
        ASSERT_TRUE(ended) << "connecting waited for a greeting without limit";
        EXPECT_EQ(opened.get(), std::make_pair(false, DevError::Io));
    }
    {
        SilentPeer peer(true);
        DevError error;
        auto device = kit::devio::SocketDevice::connect(peer.path(), error, brief);
        ASSERT_TRUE(device);
        auto written = std::async(std::launch::async, [&] { return device->write(BuildStopReceive()); });
        const bool ended = written.wait_for(10s) == std::future_status::ready;
        peer.hangUp();
        ASSERT_TRUE(ended) << "a call waited for its answer without limit";
        EXPECT_EQ(written.get(), DevError::Io);
        EXPECT_EQ(device->write(BuildStopReceive()), DevError::Removed) << "the connection is not reused";
    }
}

TEST(UsbId, ParsesVendorAndProductAndRefusesNonsense) {
    EXPECT_EQ(ParseUsbId("1a2b:3C4D"), (UsbId{0x1a2b, 0x3c4d}));
    EXPECT_EQ(ParseUsbId("0000:ffff"), (UsbId{0, 0xffff}));
    for (const char* bad : {"", ":", "1a2b", "1a2b:", "1a2b:3c4", "1a2b:3c4d5", "1a2g:3c4d", " 1a2b:3c4d", "1a2b-3c4d",
                            "1a2b:3c4d:0001", "+a2b:3c4d"})
        EXPECT_FALSE(ParseUsbId(bad)) << bad;
}

TEST(DeviceOpen, NoHostMeansNotFound) {
    char dir[] = "/tmp/kirva-nohost.XXXXXX";
    ASSERT_TRUE(::mkdtemp(dir));
    ::setenv("KIT_RUNTIME_DIR", dir, 1);
    DevError error;
    EXPECT_FALSE(kit::devio::OpenDevice(kDevicePath, error));
    EXPECT_EQ(error, DevError::NotFound);
    EXPECT_FALSE(kit::devio::OpenDevice("\\\\.\\../../etc/passwd", error));
    EXPECT_EQ(error, DevError::InvalidArgument);
    ::unsetenv("KIT_RUNTIME_DIR");
    ::rmdir(dir);
}

TEST(SimulationPlan, ParsesPlacementsAndRefusesNonsense) {
    std::string error;
    auto plan = ParseSimulationPlan("6:2,11:1,3", error);
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->placements.size(), 3u);
    EXPECT_EQ(plan->placements[0].channel, 6);
    EXPECT_EQ(plan->placements[0].count, 2);
    EXPECT_EQ(plan->placements[2].count, 1);
    for (const char* bad : {"0:1", "15:1", "6:0", "6:51", "x", "6:2,", "6:-1", "99999999999:1"})
        EXPECT_FALSE(ParseSimulationPlan(bad, error)) << bad;
}

}  // namespace
}  // namespace kirva
