#pragma once
// Reads profile values of any length through a buffer that starts at a fixed capacity
// and doubles until the value fits. The capacity is kept between reads, so one reader
// per file kind (512 for the settings file, 1024 for parameter files) serves the whole
// program.
#include <cstddef>
#include <string>
#include <string_view>

namespace kit::profile {

class GrowingProfileReader {
 public:
  explicit GrowingProfileReader(std::size_t initialCapacity);

  // The whole value, or the default. The value might have been cut whenever it filled
  // the buffer (size - 1 bytes), so that case reads again with twice the capacity.
  std::string read(std::string_view section, std::string_view key, const std::string& path,
                   std::string_view defaultValue = {});

  std::size_t capacity() const { return m_capacity; }

 private:
  std::size_t m_capacity;
};

}  // namespace kit::profile
