#include "config_tool/protocol/network_codec.h"

#include <algorithm>
#include <cstdlib>

#include "platform/text/number_reader.h"

namespace tarnwave {
namespace {

// Splits a line at its commas; the last piece is the rest of the line.
std::vector<std::string_view> SplitCommas(std::string_view line) {
  std::vector<std::string_view> pieces;
  for (;;) {
    std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) break;
    pieces.push_back(line.substr(0, comma));
    line.remove_prefix(comma + 1);
  }
  pieces.push_back(line);
  return pieces;
}

void ReadAddress(std::string_view hex, std::uint8_t (&address)[6]) {
  for (std::size_t i = 0; i < 6; ++i) {
    std::string_view pair = hex.size() > 2 * i ? hex.substr(2 * i, 2) : std::string_view{};
    address[i] = static_cast<std::uint8_t>(kit::ReadLeadingUnsigned(pair, 16));
  }
}

int Decimal(std::string_view text) { return kit::ReadLeadingInt(text); }

}  // namespace

ScanEntry ParseScanLine(std::string_view line) {
  ScanEntry entry;
  std::vector<std::string_view> values = SplitCommas(line);
  if (values.size() < 6) return entry;  // ended before the fifth ","
  std::string bssid = UnquoteText(values[0], 64);
  if (bssid.size() != 12 && !bssid.empty()) bssid = UnquoteText(bssid.substr(1), 64);
  ReadAddress(bssid, entry.bssid);
  entry.networkMode = static_cast<std::uint8_t>(Decimal(values[1]));
  entry.channel = static_cast<std::uint8_t>(Decimal(values[2]));
  entry.encryption = static_cast<std::uint8_t>(Decimal(values[3]));
  CopyText(UnquoteText(values[4], sizeof entry.ssid), entry.ssid, sizeof entry.ssid);
  // The rest of the line, commas included, is the signal level.
  std::size_t restStart = 0;
  for (int i = 0; i < 5; ++i) restStart = line.find(',', restStart) + 1;
  entry.signal = static_cast<std::uint8_t>(std::min(std::abs(Decimal(line.substr(restStart))), 255));
  return entry;
}

std::vector<std::string> SplitReplyLines(const CommandRequest& reply, ReplyFraming framing, int maxLines) {
  std::vector<std::string> lines;
  const std::string_view text(reply.replyText, kReplyCapacity);
  const int walk = std::clamp(reply.replyLength, 0, kReplyCapacity) - 3;
  const std::string_view lineEnd = framing == ReplyFraming::Serial ? "\r\n" : "\n";
  using namespace std::string_view_literals;
  const std::string_view terminator = framing == ReplyFraming::Serial ? "\r\n\r\n"sv : "\n\n\0"sv;
  std::string line;
  int i = 0;
  for (; i < walk && static_cast<int>(lines.size()) < maxLines; ++i) {
    std::string_view here = text.substr(static_cast<std::size_t>(i));
    if (here.starts_with(lineEnd)) {
      // Only the first character of the line end is stepped over: over the serial
      // line the "\n" stays in front of the next line.
      lines.push_back(line);
      line.clear();
      if (here.starts_with(terminator)) break;
      continue;
    }
    line += text[static_cast<std::size_t>(i)];
  }
  // Over the dongle the last line ends where the walk does.
  if (i >= walk && !line.empty() && static_cast<int>(lines.size()) < maxLines && i >= 0 &&
      text.substr(static_cast<std::size_t>(i)).starts_with(lineEnd))
    lines.push_back(line);
  return lines;
}

std::vector<ScanEntry> DecodeScanReply(const CommandRequest& reply, ReplyFraming framing) {
  std::vector<ScanEntry> entries;
  for (const std::string& line : SplitReplyLines(reply, framing, kMaxScanEntries)) entries.push_back(ParseScanLine(line));
  if (!entries.empty() && entries.front().channel == 0) entries.clear();
  return entries;
}

SocketState ParseSocketStateLine(std::string_view line) {
  SocketState state;
  std::vector<std::string_view> values = SplitCommas(line);
  if (values.size() < 5) return state;
  state.socket = Decimal(values[0]);
  state.status = Decimal(values[1]);
  CopyText(UnquoteText(values[2], sizeof state.peerAddress), state.peerAddress, sizeof state.peerAddress);
  state.port = Decimal(values[3]);
  state.dataLength = Decimal(values[4]);
  return state;
}

std::vector<SocketState> DecodeSocketStates(const CommandRequest& reply, ReplyFraming framing) {
  std::vector<SocketState> states;
  for (const std::string& line : SplitReplyLines(reply, framing, kMaxSocketStates))
    states.push_back(ParseSocketStateLine(line));
  return states;
}

void DecodeLinkState(const CommandRequest& reply, ReplyFraming framing, LinkState& state) {
  state = LinkState{};
  ReplyFieldReader reader(reply, framing);
  auto connected = reader.next();
  if (!connected) return;
  state.connected = Decimal(*connected);
  char* texts[] = {state.IpAddr, state.Mask, state.NetGate};
  for (char* text : texts) {
    auto value = reader.next();
    if (!value) return;
    CopyText(UnquoteText(*value, sizeof state.IpAddr), text, sizeof state.IpAddr);
  }
  if (auto dns = reader.last()) CopyText(UnquoteText(*dns, sizeof state.Dns), state.Dns, sizeof state.Dns);
}

bool DecodeModuleAddress(const CommandRequest& reply, ReplyFraming framing, std::uint8_t (&address)[6]) {
  std::fill(std::begin(address), std::end(address), 0);
  ReplyFieldReader reader(reply, framing);
  auto value = reader.last();
  if (!value) return false;
  ReadAddress(*value, address);
  return true;
}

int FirmwareKind(std::string_view versionText) {
  if (versionText.size() < 2) return 0;
  std::size_t found = versionText.find_first_of("FB", 1);
  if (found == std::string_view::npos) return 0;
  return versionText[found] == 'F' ? 1 : 2;
}

}  // namespace tarnwave
