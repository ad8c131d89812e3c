#include "platform/profile/growing_profile_reader.h"

#include <algorithm>
#include <vector>

#include "platform/profile/atomic_file.h"
#include "platform/profile/profile_file.h"

namespace kit::profile {

GrowingProfileReader::GrowingProfileReader(std::size_t initialCapacity)
    : m_capacity(std::max<std::size_t>(initialCapacity, 2)) {}

std::string GrowingProfileReader::read(std::string_view section, std::string_view key, const std::string& path,
                                       std::string_view defaultValue) {
  std::vector<char> buffer;
  for (;;) {
    buffer.resize(m_capacity);
    const std::size_t n = ReadProfileString(section, key, defaultValue, buffer.data(), buffer.size(), path);
    // A file is never larger than kMaxProfileFileSize, so the capacity stops growing.
    if (n < m_capacity - 1 || m_capacity > kMaxProfileFileSize) return std::string(buffer.data(), n);
    m_capacity *= 2;
  }
}

}  // namespace kit::profile
