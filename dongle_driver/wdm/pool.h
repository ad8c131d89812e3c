#pragma once
// Pool memory of the kernel model. Allocations can be made to fail on purpose
// so tests reach the driver's out-of-memory paths.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace wdm {

class Pool {
public:
    // Zero-filled block of `size` bytes, or nullptr when the allocation fails.
    std::unique_ptr<std::uint8_t[]> allocate(std::size_t size);
    // Like allocate(), for one object of type T.
    template <typename T, typename... Args>
    std::unique_ptr<T> make(Args&&... args) {
        if (!admit()) return nullptr;
        return std::make_unique<T>(std::forward<Args>(args)...);
    }

    // The allocation after `successes` more successful ones fails, and so do
    // `failures - 1` after it. failAfter(0, 1) fails the very next allocation.
    void failAfter(int successes, int failures = 1);
    std::size_t allocationCount() const { return m_count.load(); }

private:
    bool admit();

    std::atomic<int> m_successesLeft{-1};
    std::atomic<int> m_failuresLeft{0};
    std::atomic<std::size_t> m_count{0};
};

}  // namespace wdm
