#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printer_setup/winenv/json_store.h"
#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/win_status.h"

namespace kit::winenv {

// The local-machine part of the registry, kept in "registry.json" of the root.
// Key paths are backslash-separated below HKEY_LOCAL_MACHINE
// ("SOFTWARE\Microsoft\..."); names compare without regard to case and keep
// the case of their creation.
class Registry {
public:
    static constexpr std::uint32_t kString = 1;  // REG_SZ
    static constexpr std::uint32_t kDword = 4;   // REG_DWORD

    struct Value {
        std::string name;
        std::uint32_t type = kString;
        std::string data;  // raw bytes as stored
    };

    // Keys nest at most this deep below HKEY_LOCAL_MACHINE, as on Windows.
    static constexpr std::size_t kMaxKeyDepth = 512;

    explicit Registry(const MachineRoot& root);

    // Whether "registry.json" can be read (a missing file is an empty registry).
    [[nodiscard]] bool readable() const { return m_store.load().has_value(); }

    // Creates the key and its missing parents, or finds it; Ok either way.
    [[nodiscard]] WinStatus createKey(std::string_view keyPath) const;
    [[nodiscard]] bool keyExists(std::string_view keyPath) const;
    // Stores a value under an existing key; FileNotFound when the key is absent.
    [[nodiscard]] WinStatus setValue(std::string_view keyPath, std::string_view valueName,
                                     std::uint32_t type, std::string_view data) const;
    [[nodiscard]] std::optional<Value> value(std::string_view keyPath,
                                             std::string_view valueName) const;
    // A string value without its terminating NUL.
    [[nodiscard]] std::optional<std::string> stringValue(std::string_view keyPath,
                                                         std::string_view valueName) const;

    struct KeyListing {
        std::string name;
        std::vector<std::string> subkeys;
        std::vector<Value> values;
    };
    // Key "" is the local-machine root itself.
    [[nodiscard]] std::optional<KeyListing> list(std::string_view keyPath) const;

private:
    JsonStore m_store;
};

// Splits a registry path at its backslashes, dropping empty parts.
[[nodiscard]] std::vector<std::string> SplitKeyPath(std::string_view keyPath);

}  // namespace kit::winenv
