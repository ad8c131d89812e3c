#include "platform/handles/handle_table.h"

namespace kit {

HandleTable& HandleTable::process() {
    static HandleTable table;
    return table;
}

HandleValue HandleTable::insertErased(std::shared_ptr<void> object, std::type_index type) {
    std::lock_guard lock(m_mutex);
    // Values are multiples of four like those of the original system; a value
    // is not handed out again while it is in use.
    while (m_next == kInvalidHandleValue || m_entries.count(m_next)) m_next += 4;
    const HandleValue value = m_next;
    m_next += 4;
    m_entries.emplace(value, Entry{std::move(object), type});
    return value;
}

std::shared_ptr<void> HandleTable::lookupErased(HandleValue value, std::type_index type) const {
    std::lock_guard lock(m_mutex);
    auto found = m_entries.find(value);
    if (found == m_entries.end() || found->second.type != type) return nullptr;
    return found->second.object;
}

bool HandleTable::close(HandleValue value) {
    std::lock_guard lock(m_mutex);
    return m_entries.erase(value) == 1;
}

std::size_t HandleTable::size() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

ScopedHandle& ScopedHandle::operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
        reset();
        m_value = other.release();
    }
    return *this;
}

HandleValue ScopedHandle::release() {
    const HandleValue value = m_value;
    m_value = kInvalidHandleValue;
    return value;
}

void ScopedHandle::reset() {
    if (m_value != kInvalidHandleValue) HandleTable::process().close(m_value);
    m_value = kInvalidHandleValue;
}

}  // namespace kit
