#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace j57 {

// The whole content of a file for the manual text test, or why it could not be
// read. Only regular files are read: a FIFO, a device or a folder is refused
// without waiting on it.
struct TextFile {
  bool ok = false;
  std::string bytes;
  std::string error;
};

// Files beyond this size are refused rather than loaded into the text box.
inline constexpr std::size_t kMaxTextFileBytes = 16 * 1024 * 1024;

TextFile ReadTextFile(const std::string& path, std::size_t maxBytes = kMaxTextFileBytes);

}  // namespace j57
