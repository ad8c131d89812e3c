#include "platform/test_support/file_contents.h"

#include <fstream>
#include <sstream>

namespace kit::test_support {

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace kit::test_support
