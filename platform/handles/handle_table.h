#pragma once
// Process-wide table of 32-bit handle values and the objects they stand for.
// Programs hand such values across an interface (an event handed to a
// device); the receiver looks the value up and keeps its own reference.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <typeindex>

namespace kit {

using HandleValue = std::uint32_t;
// Never a valid handle.
inline constexpr HandleValue kInvalidHandleValue = 0;

class HandleTable {
public:
    // The table of this process.
    static HandleTable& process();

    template <typename T>
    HandleValue insert(std::shared_ptr<T> object) {
        return insertErased(std::move(object), std::type_index(typeid(T)));
    }
    // The object behind the value; nullptr for an unknown value or one that
    // stands for an object of another type.
    template <typename T>
    std::shared_ptr<T> lookup(HandleValue value) const {
        return std::static_pointer_cast<T>(lookupErased(value, std::type_index(typeid(T))));
    }
    // Forgets the value; the object lives on while others hold references.
    bool close(HandleValue value);
    std::size_t size() const;

private:
    struct Entry {
        std::shared_ptr<void> object;
        std::type_index type;
    };
    HandleValue insertErased(std::shared_ptr<void> object, std::type_index type);
    std::shared_ptr<void> lookupErased(HandleValue value, std::type_index type) const;

    mutable std::mutex m_mutex;
    std::map<HandleValue, Entry> m_entries;
    HandleValue m_next = 4;
};

// Owns one table entry and closes it on destruction.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HandleValue value) : m_value(value) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : m_value(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept;
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HandleValue value() const { return m_value; }
    HandleValue release();
    void reset();

private:
    HandleValue m_value = kInvalidHandleValue;
};

}  // namespace kit
