// The driver host's socket protocol from a program: any bytes on a fresh
// connection to the host's server, in this process, on a started virtual
// dongle. Input: flag byte (bit 0: the program greets properly first), then
// the byte stream the program sends.
// What must hold: the host ends the connection once the program has nothing
// more to say (no hang past the time-outs), everything it sends back is a
// well-formed answer or signal, and it keeps serving the next connection.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "dongle_driver/fuzz/fuzz_host.h"
#include "dongle_driver/fuzz/fuzz_input.h"
#include "dongle_driver/host/device_server.h"
#include "platform/devio/device_registry.h"
#include "platform/devio/device_wire.h"

using namespace kirva;
using namespace kirva::fuzz;

namespace {

// The host's whole answer must come well within this.
constexpr auto kConnectionLimit = std::chrono::seconds(20);

struct ServedRig {
    ServedRig() {
        char dir[] = "/tmp/kirva-server-fuzz.XXXXXX";
        if (!::mkdtemp(dir)) Finding("no runtime directory");
        ::setenv("KIT_RUNTIME_DIR", dir, 1);
        path = kit::devio::SocketPathFor("MERVO_QTM31RB07_TEST");
        server = std::make_unique<DeviceServer>(rig.host, path, 200);
        std::string error;
        if (!server->listen(error)) Finding("the server does not listen");
    }
    int connect() const {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            Finding("cannot connect to the host");
        return fd;
    }
    FuzzHost rig;
    std::string path;
    std::unique_ptr<DeviceServer> server;
};

// The host's side of the conversation: whole messages of the two kinds it
// may send, answers with their error and status words.
void CheckAnswers(const std::vector<std::uint8_t>& stream) {
    std::size_t at = 0;
    while (at < stream.size()) {
        if (stream.size() - at < 5) Finding("the host sent a cut message");
        const auto type = static_cast<kit::devio::WireType>(stream[at]);
        const std::uint32_t length = kit::devio::ReadU32(stream, at + 1);
        if (type != kit::devio::WireType::Reply && type != kit::devio::WireType::Signal)
            Finding("the host sent a message of a program");
        if (length > kit::devio::kMaxBody || stream.size() - at - 5 < length) Finding("the host sent a cut message");
        if (type == kit::devio::WireType::Reply && length < 8) Finding("an answer without error and status");
        if (type == kit::devio::WireType::Signal && length != 4) Finding("a signal without its handle");
        at += 5 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ServedRig* served = new ServedRig();
    FuzzInput in(data, size);
    std::vector<std::uint8_t> said;
    if (in.u8() & 1) {
        std::vector<std::uint8_t> body;
        kit::devio::AppendU32(body, kit::devio::kWireVersion);
        said.push_back(static_cast<std::uint8_t>(kit::devio::WireType::Hello));
        kit::devio::AppendU32(said, static_cast<std::uint32_t>(body.size()));
        said.insert(said.end(), body.begin(), body.end());
    }
    const auto rest = in.rest();
    said.insert(said.end(), rest.begin(), rest.end());

    const int fd = served->connect();
    served->server->acceptOne();
    std::vector<std::uint8_t> heard;
    std::size_t sent = 0;
    bool writeShut = false;
    const auto deadline = std::chrono::steady_clock::now() + kConnectionLimit;
    for (;;) {
        if (sent == said.size() && !writeShut) {
            ::shutdown(fd, SHUT_WR);
            writeShut = true;
        }
        pollfd p{fd, static_cast<short>(POLLIN | (writeShut ? 0 : POLLOUT)), 0};
        if (::poll(&p, 1, 100) < 0) continue;
        if (std::chrono::steady_clock::now() > deadline) Finding("the host did not end the connection");
        if ((p.revents & POLLOUT) && !writeShut) {
            const ssize_t n = ::send(fd, said.data() + sent, said.size() - sent, MSG_NOSIGNAL);
            if (n > 0) sent += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EAGAIN) sent = said.size();  // the host hung up: stop talking
        }
        if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
            std::uint8_t buffer[4096];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n > 0) {
                heard.insert(heard.end(), buffer, buffer + n);
            } else if (n == 0 || errno != EAGAIN) {
                break;  // the host ended the connection (a reset counts as an end)
            }
        }
    }
    ::close(fd);
    CheckAnswers(heard);
    return 0;
}
