#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "printer_setup/winenv/registry.h"

namespace kit::setup {

// The installer's small registry helper for local-machine keys. It holds at
// most one open key and closes it before each operation returns (and when it
// is destroyed).
class Reg {
public:
    explicit Reg(const winenv::Registry& registry) : m_registry(registry) {}
    ~Reg() { close(); }
    Reg(const Reg&) = delete;
    Reg& operator=(const Reg&) = delete;

    // Creates the key or opens the existing one; true on success.
    bool CreateKey(const std::string& keyPath);
    // Stores a value under an existing key; true when it was stored.
    bool SetValue(const std::string& keyPath, const std::string& valueName, std::uint32_t type,
                  const char* data, std::size_t length);

private:
    void close() { m_openKey.clear(); }

    const winenv::Registry& m_registry;
    std::string m_openKey;  // empty: no key open
};

}  // namespace kit::setup
