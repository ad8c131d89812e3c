#include "platform/test_support/program_path.h"

#include <cstdlib>
#include <system_error>

namespace kit::test_support {

std::filesystem::path ProgramPath(const char* name) {
  if (const char* binary = std::getenv("KIT_BINARY_DIR"); binary != nullptr && *binary != '\0') {
    return std::filesystem::path(binary) / "bin" / name;
  }
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return self.parent_path().parent_path() / "bin" / name;
}

}  // namespace kit::test_support
