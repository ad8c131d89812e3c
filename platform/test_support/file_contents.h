#pragma once

#include <filesystem>
#include <string>

namespace kit::test_support {

// The whole file as bytes; empty when it is missing or cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace kit::test_support
