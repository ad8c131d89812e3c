#pragma once
// The configuration page's input rules, apart from its controls, so that the page and
// tarnwave-cli's import hold a record to the same rules. Each check returns the note the
// page shows when it refuses (nullopt when the value is accepted).
#include <optional>
#include <string>
#include <string_view>

#include "config_tool/protocol/parameter_record.h"

namespace tarnwave {

// Encryption list indexes and key types of the page.
inline constexpr int kEncryOpen = 0;
inline constexpr int kEncryWep64 = 1;
inline constexpr int kEncryWep128 = 2;
inline constexpr int kKeyTypeHex = 0;
inline constexpr int kKeyTypeAscii = 1;

// The key rules for encryption `encry` and key type `keyType`. "OPEN" takes any key (the
// page's key box is empty then). WPA2-PSK and WAPI-PSK keys follow the WPA-PSK lengths,
// as the key box limit does.
std::optional<std::string> CheckKey(int encry, int keyType, std::string_view key);

// Character limit of the key box for an encryption and key type (64 for "OPEN").
int KeyLengthLimit(int encry, int keyType);

// Texts that travel to the module inside double quotes must not end the request early:
// no control characters (CR, LF, NUL, ...) and no double quote.
bool IsSendableText(std::string_view text);

// The page's limits.
inline constexpr unsigned long kMaxPassTime = 10000000;
inline constexpr unsigned long kMaxPort = 65535;

// The notes of the page's checks.
inline constexpr std::string_view kNoteNoSsid = "Please input the SSID！";
inline constexpr std::string_view kNoteNoHost = "Please enter the automatic working mode server address!";
inline constexpr std::string_view kNoteBadPassTime =
    "Please enter the right connect overtime time of automatic working mode ！";
inline constexpr std::string_view kNoteBadPort = "Please input the right automatic working mode socket(1-65535)！";
// Not a note of the page's boxes (they cannot produce such texts): a text read from a
// parameter file that would break the module's request.
inline constexpr std::string_view kNoteUnsendableText =
    "The parameters contain a text with a control character or a double quote!";

// The checks CollectPage makes, applied to a whole record (tarnwave-cli's import, which
// has no page to collect from): SSID, key, automatic work mode values, sendable texts.
std::optional<std::string> CheckPageRecord(const ModuleParameters& record);

}  // namespace tarnwave
