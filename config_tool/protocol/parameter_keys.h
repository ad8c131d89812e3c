#pragma once

// The parameter file's keys and value encodings, mapped onto ModuleParameters.
//
// Values are written as the parameter file holds them: decimal numbers, DhcpEn 1 for
// DHCP (the record keeps the inverse), ChList in lower-case hex without leading
// zeros, Escape as two lower-case hex digits, Bssid "0" or twelve hex digits, ChSet 0
// or the fixed channel. Keys that only apply in some modes (KeyType, Host, PassTime,
// AdhocAutoBuild, WebsPort, ...) are written empty or 0 outside them.
//
// The wireless password is stored under "Key" of "Advance System Set"; on the command
// line it is called "Password" to keep it apart from the network key.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config_tool/protocol/parameter_record.h"

namespace tarnwave {

struct ParameterKey {
  std::string_view name;     // unique name ("Password" for the wireless password)
  std::string_view section;  // section of the parameter file
  std::string_view fileKey;  // key inside the section
  int commandId;             // the command that reads and writes the value
};

// Every key in the parameter file's order.
std::span<const ParameterKey> ParameterKeys();
const ParameterKey* FindParameterKey(std::string_view name);

// The value text of a key as the parameter file holds it.
std::string FormatParameterValue(const ModuleParameters& record, const ParameterKey& key);

// Stores a value text into the record. Returns an error message when the text is
// not a valid value of the key (not a number, too long, a malformed Bssid ...);
// range checks are the module's business.
std::optional<std::string> ApplyParameterValue(ModuleParameters& record, const ParameterKey& key,
                                               std::string_view value);

}  // namespace tarnwave
