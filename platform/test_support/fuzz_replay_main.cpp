// Replays fuzz inputs without libFuzzer: every file named on the command line, and every
// regular file inside a named folder (in name order), is fed once to the target's
// LLVMFuzzerTestOneInput. A crash or a sanitizer report fails the run; so does a corpus
// folder that is missing or empty, which would otherwise replay nothing and pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
    return false;
  }
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // An empty vector's data() may be null; libFuzzer never passes null.
  static const std::uint8_t kNothing = 0;
  const auto* data = bytes.empty() ? &kNothing : reinterpret_cast<const std::uint8_t*>(bytes.data());
  LLVMFuzzerTestOneInput(data, bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE|FOLDER...\n", argv[0]);
    return 2;
  }
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path path(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(path, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const auto& file : files) replayed += Replay(file) ? 1 : 0;
    } else if (std::filesystem::is_regular_file(path, error)) {
      replayed += Replay(path) ? 1 : 0;
    } else {
      std::fprintf(stderr, "replay: no such file or folder: %s\n", argv[i]);
      return 1;
    }
  }
  if (replayed == 0) {
    std::fprintf(stderr, "replay: no inputs\n");
    return 1;
  }
  std::printf("replayed %zu inputs\n", replayed);
  return 0;
}
