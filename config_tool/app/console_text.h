#pragma once
// The texts of the function test console and its socket dialogs, shared with
// tarnwave-cli: network lines, the scan log, socket state lines, echo removal and the
// hexadecimal conversions. Window-free.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config_tool/protocol/network_records.h"

namespace tarnwave {

enum class NetworkLine { Scan, Joined };

// Signal percent from the signal magnitude v: 100 up to 30, 1 from 80, else
// 159 - v * 99 / 50 truncated.
int SignalPercent(int signal);

// One network line without line break: mode, encryption, BSSID and channel, the
// signal for a scan line, then " SSID\r\t".
std::string FormatNetworkLine(const ScanEntry& entry, NetworkLine kind);

// What the console appends after a collected scan: the header and one line per
// network, or the analysis failure when there is none.
std::string ScanResultText(const std::vector<ScanEntry>& entries);

// The console's lines for the states of "SKSTT".
std::string SocketStatesText(const std::vector<SocketState>& states);

// The reply without the module's echo of the request (carriage return included).
std::string RemoveEcho(std::string reply, std::string_view request);

// Hexadecimal send text to bytes: spaces skipped, each pair of hexadecimal digits one
// byte; a lone last character or a pair with any other character ends the walk. Never
// writes more than out.size() bytes. Returns the count written.
std::size_t ParseHexBytes(std::string_view text, std::span<std::uint8_t> out);

// The receive display: each byte as two lower-case digits and a space (hexadecimal) or
// as itself (a zero byte shows as "."), "\r\n" after every 20th byte.
std::string ReceiveDisplayText(std::span<const std::uint8_t> bytes, bool hexadecimal);

// The display's conversions when "Hexadecimal" is switched on and off.
std::string DisplayToHex(std::string_view display);
std::string DisplayFromHex(std::string_view display);

}  // namespace tarnwave
