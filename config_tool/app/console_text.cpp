#include "config_tool/app/console_text.h"

#include <cstdio>
#include <cstring>

namespace tarnwave {
namespace {

constexpr int kPerLine = 20;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string HexPair(unsigned value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x ", value & 0xFFu);
  return text;
}

}  // namespace

int SignalPercent(int v) {
  if (v <= 30) return 100;
  if (v >= 80) return 1;
  return static_cast<int>(159.0 - v * 99.0 / 50.0);
}

std::string FormatNetworkLine(const ScanEntry& e, NetworkLine kind) {
  std::string line;
  if (e.networkMode == 1) line += "Adhoc  ";
  if (e.networkMode == 0) line += "Infra  ";
  line += e.encryption == 0 ? "  No  " : e.encryption == 1 ? "  Yes " : "NO   ";
  char text[64];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X  %2d   ", e.bssid[0], e.bssid[1], e.bssid[2], e.bssid[3],
                e.bssid[4], e.bssid[5], e.channel);
  line += text;
  if (kind == NetworkLine::Scan) {
    std::snprintf(text, sizeof text, "-%2d(%2d", e.signal, SignalPercent(e.signal));
    line += text;
    line += "%) ";
  }
  line += " ";
  line.append(e.ssid, strnlen(e.ssid, sizeof e.ssid));
  line += "\r\t";
  return line;
}

std::string ScanResultText(const std::vector<ScanEntry>& entries) {
  if (entries.empty()) return "Scan results analysis failed.\r\n\r\n";
  std::string text = "Scan complete.\r\nNetMode Encry   BSSID    Channel Signal(%)  SSID   \r\n\r\n";
  for (const ScanEntry& entry : entries) text += FormatNetworkLine(entry, NetworkLine::Scan) + "\r\n";
  return text + "\r\n";
}

std::string SocketStatesText(const std::vector<SocketState>& states) {
  std::string text = "Get socket succeed.\r\nSocketNo.Status Peer Addr\tPort  Data Length\r\n";
  for (const SocketState& s : states) {
    text += "    " + std::to_string(s.socket) + "    ";
    text += s.status == 1 ? "Monitor" : s.status == 2 ? "Connect" : "Not connected";
    char tail[128];
    std::snprintf(tail, sizeof tail, "  \t%.*s\t%d\t   %d\r\n\r\n", static_cast<int>(strnlen(s.peerAddress, sizeof s.peerAddress)),
                  s.peerAddress, s.port, s.dataLength);
    text += tail;
  }
  return text;
}

std::string RemoveEcho(std::string reply, std::string_view request) {
  if (!request.empty() && std::string_view(reply).starts_with(request)) reply.erase(0, request.size());
  return reply;
}

std::size_t ParseHexBytes(std::string_view text, std::span<std::uint8_t> out) {
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < text.size() && count < out.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) break;
    const int high = HexValue(text[i]);
    const int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) break;
    out[count++] = static_cast<std::uint8_t>(high * 16 + low);
    i += 2;
  }
  return count;
}

std::string ReceiveDisplayText(std::span<const std::uint8_t> bytes, bool hexadecimal) {
  std::string text;
  int column = 0;
  for (std::uint8_t b : bytes) {
    if (hexadecimal)
      text += HexPair(b);
    else
      text += b == 0 ? '.' : static_cast<char>(b);
    if (++column == kPerLine) {
      text += "\r\n";
      column = 0;
    }
  }
  return text;
}

std::string DisplayToHex(std::string_view display) {
  std::string text;
  int column = 0;
  for (char c : display) {
    if (c == '\r' || c == '\n') continue;
    text += HexPair(static_cast<unsigned char>(c));
    if (++column == kPerLine) {
      text += "\r\n";
      column = 0;
    }
  }
  return text;
}

std::string DisplayFromHex(std::string_view display) {
  std::string text;
  std::string collected;
  int column = 0;
  for (char c : display) {
    if (c != ' ') {
      if (collected.empty() && (c == '\r' || c == '\n')) continue;  // leading line breaks
      collected += c;
      continue;
    }
    unsigned value = 0;
    for (char digit : collected) {
      const int v = HexValue(digit);
      if (v < 0) break;
      value = value * 16 + static_cast<unsigned>(v);
    }
    collected.clear();
    text += static_cast<char>(value & 0xFF);
    if (++column == kPerLine) {
      text += "\r\n";
      column = 0;
    }
  }
  return text;
}

}  // namespace tarnwave
