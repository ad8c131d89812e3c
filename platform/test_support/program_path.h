#pragma once

#include <filesystem>

namespace kit::test_support {

// Where the build puts the program `name`: $KIT_BINARY_DIR/bin (set for every
// test by ctest), else the "bin" folder beside the "tests" folder that holds the
// running test program. The file need not exist; the caller finds out when it runs it.
std::filesystem::path ProgramPath(const char* name);

}  // namespace kit::test_support
