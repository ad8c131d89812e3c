#pragma once
// The parameter file (usually "Config.cfg"): an INI file with six sections holding one
// module parameter record, the way the configuration page exports and imports it.
// tarnwave-cli's export and import use the same two functions.
//
// Nothing here shows a window: a refused import returns the note the page shows.
#include <optional>
#include <string>

#include "config_tool/protocol/parameter_record.h"

namespace tarnwave {

struct ParameterFileWriteResult {
  bool ok = true;
  int osError = 0;  // errno of a failed read or write of the file
  explicit operator bool() const { return ok; }
};

// Writes every key of the record in the file's order into `path`, in one atomic
// replacement. Sections and keys of an existing file that are not ours stay as they were.
// Fails when the existing file cannot be read (or is too large), when a value cannot be
// stored in the file (a line break), or when the file cannot be written.
[[nodiscard]] ParameterFileWriteResult WriteParameterFile(const ModuleParameters& record, const std::string& path);

// Zero-fills the record, then reads and checks the file row by row in the import order.
// Returns nullopt when every row was accepted; otherwise the note of the first refused
// row (the record then holds what was read up to it).
std::optional<std::string> ReadParameterFile(const std::string& path, ModuleParameters& record);

// The note shown when an export cannot write its file (%s: the file name).
inline constexpr const char* kNoteExportFailed = "Export parameters failed,the file %s can not be written!";

}  // namespace tarnwave
