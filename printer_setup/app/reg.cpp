#include "printer_setup/app/reg.h"

namespace kit::setup {

bool Reg::CreateKey(const std::string& keyPath) {
    bool created = winenv::Succeeded(m_registry.createKey(keyPath));
    if (created) m_openKey = keyPath;
    close();
    return created;
}

bool Reg::SetValue(const std::string& keyPath, const std::string& valueName, std::uint32_t type,
                   const char* data, std::size_t length) {
    if (!m_registry.keyExists(keyPath)) return false;
    m_openKey = keyPath;
    bool stored = winenv::Succeeded(m_registry.setValue(keyPath, valueName, type, std::string(data, length)));
    close();
    return stored;
}

}  // namespace kit::setup
