#include "platform/profile/profile_file.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/profile/ini_document.h"
#include "platform/text/number_reader.h"

namespace kit::profile {

namespace {

std::optional<std::string> Lookup(std::string_view section, std::string_view key, const std::string& path) {
  std::string content;
  if (!ReadWholeFile(path, content)) return std::nullopt;
  return IniDocument(std::move(content)).value(section, key);
}

}  // namespace

std::size_t ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                              char* buffer, std::size_t size, const std::string& path) {
  if (!buffer || size == 0) return 0;
  const auto found = Lookup(section, key, path);
  const std::string_view value = found ? std::string_view(*found) : defaultValue;
  const std::size_t n = std::min(value.size(), size - 1);
  // An empty default may have no storage at all (a null data pointer).
  if (n != 0) std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return n;
}

std::string ReadProfileText(std::string_view section, std::string_view key, std::string_view defaultValue,
                            std::size_t size, const std::string& path) {
  if (size == 0) return {};
  const auto found = Lookup(section, key, path);
  std::string value = found ? *found : std::string(defaultValue);
  if (value.size() > size - 1) value.resize(size - 1);
  return value;
}

int ReadProfileInt(std::string_view section, std::string_view key, int defaultValue, const std::string& path) {
  const auto found = Lookup(section, key, path);
  return found ? kit::ReadLeadingInt(*found) : defaultValue;
}

WriteResult WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path) {
  if (!IniDocument::ValidSection(section) || !IniDocument::ValidKey(key)) return {WriteError::InvalidName, 0};
  if (!IniDocument::ValidValue(value)) return {WriteError::InvalidValue, 0};
  std::string content;
  const FileResult read = ReadWholeFile(path, content);
  if (!read && read.error != FileError::NotFound) return {WriteError::ReadFailed, read.osError};
  IniDocument document(std::move(content));
  if (!document.setValue(section, key, value)) return {WriteError::InvalidValue, 0};
  const FileResult written = ReplaceFileAtomically(path, document.content());
  if (!written) return {WriteError::WriteFailed, written.osError};
  return {};
}

}  // namespace kit::profile
