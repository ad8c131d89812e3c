#include "sim/printer/escpos_parser.h"

#include <cstdio>
#include <string>

namespace printer {
namespace {

constexpr std::uint8_t LF = 0x0A, HT = 0x09, CR = 0x0D, FF = 0x0C, ESC = 0x1B, GS = 0x1D, FS = 0x1C,
                       DLE = 0x10;

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::uint8_t b : bytes) {
    char part[4];
    std::snprintf(part, sizeof part, "%02X", b);
    if (!text.empty()) text += ' ';
    text += part;
  }
  return text;
}

}  // namespace

void EscPosParser::feed(std::span<const std::uint8_t> bytes) {
  m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
  std::size_t offset = 0;
  while (offset < m_pending.size()) {
    const std::size_t used = parseOne(std::span(m_pending).subspan(offset));
    if (used == 0) break;
    offset += used;
  }
  m_parsed += offset;
  m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(offset));
}

void EscPosParser::finish() {
  if (!m_pending.empty()) unknown(m_pending, "the stream ended inside a command");
  m_parsed += m_pending.size();
  m_pending.clear();
}

void EscPosParser::emit(CommandKind kind, int a, int b) {
  PrinterCommand command;
  command.kind = kind;
  command.a = a;
  command.b = b;
  m_sink(command);
}

void EscPosParser::unknown(std::span<const std::uint8_t> bytes, std::string why) {
  PrinterCommand command;
  command.kind = CommandKind::Unknown;
  command.data.assign(bytes.begin(), bytes.end());
  command.text = Hex(bytes) + ": " + why;
  m_sink(command);
}

std::size_t EscPosParser::parseOne(std::span<const std::uint8_t> b) {
  const std::uint8_t first = b[0];
  switch (first) {
    case LF: emit(CommandKind::LineFeed); return 1;
    case HT: emit(CommandKind::HorizontalTab); return 1;
    case CR: emit(CommandKind::CarriageReturn); return 1;
    case FF: {
      PrinterCommand command{CommandKind::PageModeOnly, 0, 0, {}, "FF"};
      m_sink(command);
      return 1;
    }
    case ESC: return parseEsc(b);
    case GS: return parseGs(b);
    case FS: return parseFs(b);
    case DLE:
      // Real-time requests (DLE EOT n, DLE ENQ n) ask for status; a printer without
      // a back channel has nothing to answer.
      if (b.size() < 3) return 0;
      unknown(b.first(3), "real-time request, not answered");
      return 3;
    default: break;
  }
  if (first < 0x20 || first == 0x7F) {
    unknown(b.first(1), "control byte without meaning");
    return 1;
  }
  emit(CommandKind::Text, first);
  return 1;
}

std::size_t EscPosParser::parseEsc(std::span<const std::uint8_t> b) {
  if (b.size() < 2) return 0;
  const auto withArgument = [&](CommandKind kind) -> std::size_t {
    if (b.size() < 3) return 0;
    emit(kind, b[2]);
    return 3;
  };
  const auto pageOnly = [&](std::size_t length, const char* name) -> std::size_t {
    if (b.size() < length) return 0;
    PrinterCommand command{CommandKind::PageModeOnly, 0, 0, {}, name};
    m_sink(command);
    return length;
  };
  switch (b[1]) {
    case '@': emit(CommandKind::Initialize); return 2;
    case 'a': {
      if (b.size() < 3) return 0;
      emit(CommandKind::Justify, b[2] >= '0' ? b[2] - '0' : b[2]);
      return 3;
    }
    case 'D': return parseTabPositions(b);
    case '!': return withArgument(CommandKind::PrintMode);
    case 'E': return withArgument(CommandKind::Emphasis);
    case '-': return withArgument(CommandKind::Underline);
    case 'M': return withArgument(CommandKind::Font);
    case 'J': return withArgument(CommandKind::FeedDots);
    case 'd': return withArgument(CommandKind::FeedLines);
    case '2': emit(CommandKind::LineSpacing, -1); return 2;
    case '3': return withArgument(CommandKind::LineSpacing);
    case 'i': emit(CommandKind::Cut, 0, 1); return 2;
    case 'm': emit(CommandKind::Cut, 0, 1); return 2;
    case 0x0C: return pageOnly(2, "ESC FF");
    case 'T': return pageOnly(3, "ESC T");
    case 'W': return pageOnly(10, "ESC W");
    case 'S': return pageOnly(2, "ESC S");
    case 'L':
      if (b.size() < 2) return 0;
      unknown(b.first(2), "page mode is not supported; staying in standard mode");
      return 2;
    case 'G': case 't': case 'R': case 'V': case '{': case ' ': case 'c':
      // Modes the virtual printer takes but does not draw (double strike, code table,
      // international set, rotation, upside-down, right spacing).
      if (b[1] == 'c') {
        if (b.size() < 4) return 0;
        return 4;
      }
      return b.size() < 3 ? 0 : 3;
    case '$': case '\\':
      if (b.size() < 4) return 0;
      unknown(b.first(4), "horizontal positioning is not drawn");
      return 4;
    default:
      unknown(b.first(2), "no such ESC command");
      return 2;
  }
}

// ESC D n1 ... nk: the list ends with a 00 (consumed), or at the first byte that is
// not larger than the one before it, which then counts as data of its own; at most 32.
std::size_t EscPosParser::parseTabPositions(std::span<const std::uint8_t> b) {
  PrinterCommand command{CommandKind::TabPositions, 0, 0, {}, {}};
  std::size_t i = 2;
  int previous = 0;
  for (;; ++i) {
    if (i >= b.size()) return 0;
    const int value = b[i];
    if (value == 0) {
      ++i;
      break;
    }
    if (value <= previous || command.data.size() == 32) break;
    command.data.push_back(static_cast<std::uint8_t>(value));
    previous = value;
  }
  m_sink(command);
  return i;
}

std::size_t EscPosParser::parseGs(std::span<const std::uint8_t> b) {
  if (b.size() < 2) return 0;
  const auto withArgument = [&](CommandKind kind) -> std::size_t {
    if (b.size() < 3) return 0;
    emit(kind, b[2]);
    return 3;
  };
  switch (b[1]) {
    case '!': {
      if (b.size() < 3) return 0;
      emit(CommandKind::CharacterSize, ((b[2] >> 4) & 0x07) + 1, (b[2] & 0x07) + 1);
      return 3;
    }
    case 'V': {
      if (b.size() < 3) return 0;
      const std::uint8_t m = b[2];
      if (m == 0 || m == 1 || m == '0' || m == '1') {
        emit(CommandKind::Cut, 0, (m == 1 || m == '1') ? 1 : 0);
        return 3;
      }
      if (m == 65 || m == 66) {
        if (b.size() < 4) return 0;
        emit(CommandKind::Cut, b[3], m == 66 ? 1 : 0);
        return 4;
      }
      unknown(b.first(3), "no such cut mode");
      return 3;
    }
    case '\\': {
      if (b.size() < 4) return 0;
      PrinterCommand command{CommandKind::PageModeOnly, 0, 0, {}, "GS \\"};
      m_sink(command);
      return 4;
    }
    case '$': {
      if (b.size() < 4) return 0;
      PrinterCommand command{CommandKind::PageModeOnly, 0, 0, {}, "GS $"};
      m_sink(command);
      return 4;
    }
    case 'f': return withArgument(CommandKind::HriFont);
    case 'H': {
      if (b.size() < 3) return 0;
      emit(CommandKind::HriPosition, b[2] >= '0' ? b[2] - '0' : b[2]);
      return 3;
    }
    case 'h': return withArgument(CommandKind::BarcodeHeight);
    case 'w': return withArgument(CommandKind::BarcodeWidth);
    case 'k': return parseBarcode(b);
    case 'B': case 'b': return b.size() < 3 ? 0 : 3;  // reverse printing, smoothing: not drawn
    case 'L': case 'W': case 'P':
      if (b.size() < 4) return 0;
      unknown(b.first(4), "margins and motion units are fixed in the virtual printer");
      return 4;
    default:
      unknown(b.first(2), "no such GS command");
      return 2;
  }
}

// GS k m d1 ... dk 00 (m = 0..6), or GS k m n d1 ... dn (m = 65..73).
std::size_t EscPosParser::parseBarcode(std::span<const std::uint8_t> b) {
  if (b.size() < 3) return 0;
  const std::uint8_t m = b[2];
  PrinterCommand command{CommandKind::Barcode, m, 0, {}, {}};
  if (m <= 6) {
    for (std::size_t i = 3; i < b.size(); ++i) {
      if (b[i] == 0) {
        command.data.assign(b.begin() + 3, b.begin() + static_cast<std::ptrdiff_t>(i));
        m_sink(command);
        return i + 1;
      }
      if (i - 3 >= kMaxBarcodeData) {
        unknown(b.first(3), "barcode data without a 00 end within 255 bytes; the bytes are printed as data");
        return 3;
      }
    }
    return 0;
  }
  if (m >= 65 && m <= 73) {
    if (b.size() < 4) return 0;
    const std::size_t count = b[3];
    if (b.size() < 4 + count) return 0;
    command.data.assign(b.begin() + 4, b.begin() + 4 + static_cast<std::ptrdiff_t>(count));
    m_sink(command);
    return 4 + count;
  }
  unknown(b.first(3), "no such barcode system");
  return 3;
}

std::size_t EscPosParser::parseFs(std::span<const std::uint8_t> b) {
  if (b.size() < 2) return 0;
  switch (b[1]) {
    case '&': emit(CommandKind::ChineseMode, 1); return 2;
    case '.': emit(CommandKind::ChineseMode, 0); return 2;
    case '!': case '-': return b.size() < 3 ? 0 : 3;  // Chinese character modes: not drawn
    default:
      unknown(b.first(2), "no such FS command");
      return 2;
  }
}

}  // namespace printer
