#pragma once
// The profile-file service: read text, read number, write text on INI-style files (the
// dialect is described in ini_document.h).
//
// Reads never create or change a file. A missing file, section or key gives the default.
// Writes replace the file atomically (see atomic_file.h) and keep every byte they do not
// change. Texts are bytes in whatever code page the file uses.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/profile/atomic_file.h"

namespace kit::profile {

// Copies the value (or the default) into buffer, cut to size - 1 bytes and ended with a
// NUL; returns the number of bytes copied without the NUL. size 0 copies nothing.
std::size_t ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                              char* buffer, std::size_t size, const std::string& path);

// The same as a string: the value cut to size - 1 bytes.
std::string ReadProfileText(std::string_view section, std::string_view key, std::string_view defaultValue,
                            std::size_t size, const std::string& path);

// The key's value read as a decimal number: leading blanks, an optional sign, then the
// leading digits; the rest is ignored; no digits read as 0; out-of-range values
// saturate. The default when the file, section or key is missing.
int ReadProfileInt(std::string_view section, std::string_view key, int defaultValue, const std::string& path);

enum class WriteError { None, InvalidName, InvalidValue, ReadFailed, WriteFailed };

struct WriteResult {
  WriteError error = WriteError::None;
  int osError = 0;
  explicit operator bool() const { return error == WriteError::None; }
};

// Sets the key to exactly `value`, creating the file, section or key when missing.
// Values with line breaks cannot be stored and are refused.
[[nodiscard]] WriteResult WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                                             const std::string& path);

}  // namespace kit::profile
