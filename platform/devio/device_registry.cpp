#include "platform/devio/device_registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <cctype>
#include <cstdlib>

#include "platform/devio/socket_device.h"

namespace kit::devio {

DeviceRegistry& DeviceRegistry::process() {
    static DeviceRegistry registry;
    return registry;
}

void DeviceRegistry::add(std::string name, Opener opener) {
    std::lock_guard lock(m_mutex);
    m_openers[std::move(name)] = std::move(opener);
}

void DeviceRegistry::remove(std::string_view name) {
    std::lock_guard lock(m_mutex);
    auto found = m_openers.find(name);
    if (found != m_openers.end()) m_openers.erase(found);
}

std::unique_ptr<DeviceEndpoint> DeviceRegistry::open(std::string_view name, DevError& error) const {
    Opener opener;
    {
        std::lock_guard lock(m_mutex);
        auto found = m_openers.find(name);
        if (found == m_openers.end()) {
            error = DevError::NotFound;
            return nullptr;
        }
        opener = found->second;
    }
    return opener(error);
}

std::string RuntimeDirectory() {
    if (const char* kit = std::getenv("KIT_RUNTIME_DIR"); kit && *kit) return kit;
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) return std::string(xdg) + "/kit";
    return "/tmp/kit-" + std::to_string(::getuid());
}

bool PrepareRuntimeDirectory(std::string& error) {
    const std::string path = RuntimeDirectory();
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create the runtime folder " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        error = "cannot inspect the runtime folder " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = "the runtime folder " + path + " is not a folder (a link or a file is refused)";
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        error = "the runtime folder " + path + " belongs to another user";
        return false;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        error = "the runtime folder " + path + " is writable by others (make it mode 0700)";
        return false;
    }
    return true;
}

std::string SocketPathFor(std::string_view name) { return RuntimeDirectory() + "/" + std::string(name) + ".sock"; }

std::optional<std::string> DeviceNameOf(std::string_view path) {
    constexpr std::string_view prefix = "\\\\.\\";
    if (path.substr(0, prefix.size()) != prefix) return std::nullopt;
    std::string name(path.substr(prefix.size()));
    if (name.empty() || name.size() > 64) return std::nullopt;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return std::nullopt;
    return name;
}

std::unique_ptr<DeviceEndpoint> OpenDevice(std::string_view path, DevError& error) {
    const auto name = DeviceNameOf(path);
    if (!name) {
        error = DevError::InvalidArgument;
        return nullptr;
    }
    if (auto local = DeviceRegistry::process().open(*name, error)) return local;
    if (error != DevError::NotFound) return nullptr;
    return SocketDevice::connect(SocketPathFor(*name), error);
}

}  // namespace kit::devio
