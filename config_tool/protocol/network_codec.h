#pragma once

// Decoding of the replies of the network, socket and management commands.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config_tool/protocol/command_request.h"
#include "config_tool/protocol/network_records.h"
#include "config_tool/protocol/reply_codec.h"

namespace tarnwave {

// One scan line "bssid,mode,channel,encryption,ssid,signal". The BSSID may carry the
// line feed left over from the previous line; a line that ends before its fifth ","
// gives an all-zero entry.
ScanEntry ParseScanLine(std::string_view line);

// The lines of a multi-line reply, at most maxLines, as the walker collects them
// (over the serial line every line after the first starts with the leftover "\n").
std::vector<std::string> SplitReplyLines(const CommandRequest& reply, ReplyFraming framing, int maxLines);

// Scan entries of a reply (0 to 50); none when the first entry has channel 0.
std::vector<ScanEntry> DecodeScanReply(const CommandRequest& reply, ReplyFraming framing);

// One socket state line "socket,status,peer,port,length".
SocketState ParseSocketStateLine(std::string_view line);
std::vector<SocketState> DecodeSocketStates(const CommandRequest& reply, ReplyFraming framing);

void DecodeLinkState(const CommandRequest& reply, ReplyFraming framing, LinkState& state);

// Twelve hex digits of "QMAC" into six bytes; false (address cleared) on "wrong".
bool DecodeModuleAddress(const CommandRequest& reply, ReplyFraming framing, std::uint8_t (&address)[6]);

// 1 when the version text shows the main programme ("F"), 2 the load programme
// ("B"), whichever comes first after the first character; else 0.
int FirmwareKind(std::string_view versionText);

}  // namespace tarnwave
