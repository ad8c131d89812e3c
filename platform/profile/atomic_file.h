#pragma once
// Replacing a file so that readers and crashes only ever see the old or the new bytes:
// the new content goes to a temporary file in the same folder, is flushed to disk and
// then renamed over the old name.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kit::profile {

enum class FileError { None, NotFound, TooLarge, Io };

struct FileResult {
  FileError error = FileError::None;
  int osError = 0;  // errno of the failed call
  explicit operator bool() const { return error == FileError::None; }
};

// Files larger than this are refused rather than read into memory.
constexpr std::size_t kMaxProfileFileSize = 16u * 1024u * 1024u;

// Reads a whole file. NotFound when it does not exist.
[[nodiscard]] FileResult ReadWholeFile(const std::string& path, std::string& content);

// Writes `content` to `path` atomically. The file keeps the permission bits of the file
// it replaces (0644 for a new one). `afterChunk`, when given, is called after each chunk
// written to the temporary file with the bytes written so far; tests use it to stop the
// process in the middle of a write.
[[nodiscard]] FileResult ReplaceFileAtomically(const std::string& path, std::string_view content,
                                               const std::function<void(std::size_t)>& afterChunk = {});

}  // namespace kit::profile
