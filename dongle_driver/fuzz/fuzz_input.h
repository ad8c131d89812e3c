#pragma once
// Reads a fuzz input piece by piece; past its end every read gives zero, so a
// target never needs to check lengths before it takes a field.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kirva::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_bytes(data, size) {}

    bool empty() const { return m_at >= m_bytes.size(); }
    std::uint8_t u8() { return empty() ? 0 : m_bytes[m_at++]; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | (u8() << 8)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(u16() | (static_cast<std::uint32_t>(u16()) << 16)); }
    // Up to `count` bytes (fewer at the end of the input).
    std::span<const std::uint8_t> take(std::size_t count) {
        const std::size_t n = std::min(count, m_bytes.size() - std::min(m_at, m_bytes.size()));
        const auto piece = m_bytes.subspan(std::min(m_at, m_bytes.size()), n);
        m_at += n;
        return piece;
    }
    std::span<const std::uint8_t> rest() { return take(m_bytes.size()); }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

}  // namespace kirva::fuzz
