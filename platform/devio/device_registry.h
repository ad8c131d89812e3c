#pragma once
// Opening devices by name. A device served in this process (tests host the
// driver in-process) is found in the process registry; any other name is
// looked for as the Unix socket "<NAME>.sock" that a device host serves in
// the runtime directory.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/devio/device_endpoint.h"

namespace kit::devio {

using Opener = std::function<std::unique_ptr<DeviceEndpoint>(DevError& error)>;

class DeviceRegistry {
public:
    static DeviceRegistry& process();
    // NAME without the "\\.\" prefix.
    void add(std::string name, Opener opener);
    void remove(std::string_view name);
    // nullptr and NotFound when no such device is served here.
    std::unique_ptr<DeviceEndpoint> open(std::string_view name, DevError& error) const;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, Opener, std::less<>> m_openers;
};

// $KIT_RUNTIME_DIR, else $XDG_RUNTIME_DIR/kit, else /tmp/kit-$UID.
std::string RuntimeDirectory();
// Makes sure the runtime directory is this user's own: creates it with mode
// 0700 when it is missing, refuses one that is a link, not a directory,
// owned by another user or writable by others. False with a message.
bool PrepareRuntimeDirectory(std::string& error);
// The socket a device host serves NAME on.
std::string SocketPathFor(std::string_view name);
// "\\.\NAME" gives NAME; nullopt for anything else (or an unsafe name).
std::optional<std::string> DeviceNameOf(std::string_view path);

// Opens "\\.\NAME": in-process first, then the device host's socket.
std::unique_ptr<DeviceEndpoint> OpenDevice(std::string_view path, DevError& error);

}  // namespace kit::devio
