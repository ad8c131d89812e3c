#include "sim/printer/receipt_layout.h"

#include <algorithm>

#include "sim/printer/barcode_encoder.h"

#include <utility>

namespace printer {
namespace {

constexpr int kFontAWidth = 12, kFontAHeight = 24, kFontBWidth = 9, kFontBHeight = 17;
constexpr int kDoubleByteSize = 24;
constexpr int kHriGap = 2;  // dots between the bars and their human-readable text

std::vector<int> DefaultTabStops() {
  std::vector<int> stops;
  for (int column = 8; column <= 32 * 8; column += 8) stops.push_back(column * kFontAWidth);
  return stops;
}

}  // namespace

ReceiptLayout::ReceiptLayout(Options options) : m_options(std::move(options)) {
  m_current.width = m_options.paperWidth;
  resetModes();
}

void ReceiptLayout::resetModes() {
  m_scaleX = m_scaleY = 1;
  m_fontB = m_emphasized = m_underline = false;
  m_justification = 0;
  m_lineSpacing = kDefaultLineSpacing;
  m_tabStops = DefaultTabStops();
  m_hriPosition = 0;
  m_hriFontB = false;
  m_barcodeHeight = kDefaultBarcodeHeight;
  m_barcodeWidth = kDefaultBarcodeWidth;
}

int ReceiptLayout::characterWidth() const { return (m_fontB ? kFontBWidth : kFontAWidth) * m_scaleX; }
int ReceiptLayout::characterHeight() const { return (m_fontB ? kFontBHeight : kFontAHeight) * m_scaleY; }

int ReceiptLayout::justifiedOffset(int width) const {
  const int room = std::max(0, m_options.paperWidth - width);
  if (m_justification == 1) return room / 2;
  if (m_justification == 2) return room;
  return 0;
}

void ReceiptLayout::execute(const PrinterCommand& c) {
  if (c.kind != CommandKind::Text && m_leadByte >= 0) {
    diagnose("a double-byte character was cut short by a command");
    m_leadByte = -1;
  }
  switch (c.kind) {
    case CommandKind::Text: addText(static_cast<std::uint8_t>(c.a)); break;
    case CommandKind::LineFeed: printLine(true); break;
    case CommandKind::CarriageReturn: break;  // automatic line feed is off
    case CommandKind::HorizontalTab: horizontalTab(); break;
    case CommandKind::Initialize:
      m_line.clear();
      m_x = 0;
      resetModes();
      break;
    case CommandKind::Justify:
      if (c.a >= 0 && c.a <= 2) m_justification = c.a;
      else diagnose("no such justification " + std::to_string(c.a));
      break;
    case CommandKind::TabPositions:
      m_tabStops.clear();
      for (std::uint8_t column : c.data) m_tabStops.push_back(column * characterWidth());
      break;
    case CommandKind::PrintMode:
      m_fontB = c.a & 0x01;
      m_emphasized = c.a & 0x08;
      m_scaleY = (c.a & 0x10) ? 2 : 1;
      m_scaleX = (c.a & 0x20) ? 2 : 1;
      m_underline = c.a & 0x80;
      break;
    case CommandKind::Emphasis: m_emphasized = c.a & 1; break;
    case CommandKind::Underline: m_underline = (c.a == 1 || c.a == 2 || c.a == '1' || c.a == '2'); break;
    case CommandKind::Font: m_fontB = (c.a == 1 || c.a == '1'); break;
    case CommandKind::LineSpacing: m_lineSpacing = c.a < 0 ? kDefaultLineSpacing : c.a; break;
    case CommandKind::FeedDots:
      printLine(false);
      feed(c.a);
      break;
    case CommandKind::FeedLines:
      printLine(false);
      feed(c.a * m_lineSpacing);
      break;
    case CommandKind::CharacterSize:
      m_scaleX = c.a;
      m_scaleY = c.b;
      break;
    case CommandKind::Cut: cut(c.a, c.b != 0); break;
    case CommandKind::HriPosition:
      if (c.a >= 0 && c.a <= 3) m_hriPosition = c.a;
      break;
    case CommandKind::HriFont: m_hriFontB = (c.a == 1 || c.a == '1'); break;
    case CommandKind::BarcodeHeight:
      if (c.a >= 1) m_barcodeHeight = c.a;
      break;
    case CommandKind::BarcodeWidth:
      if (c.a >= 1 && c.a <= 6) m_barcodeWidth = c.a;
      else diagnose("barcode module width " + std::to_string(c.a) + " is out of range 1..6");
      break;
    case CommandKind::Barcode: barcode(c); break;
    case CommandKind::ChineseMode: m_options.chineseMode = c.a != 0; break;
    case CommandKind::PageModeOnly: break;  // no effect in standard mode
    case CommandKind::Unknown: diagnose("unknown: " + c.text); break;
  }
}

void ReceiptLayout::addText(std::uint8_t byte) {
  if (m_leadByte >= 0) {
    const std::string pair{static_cast<char>(m_leadByte), static_cast<char>(byte)};
    m_leadByte = -1;
    std::optional<std::string> utf8;
    if (m_options.decoder) utf8 = m_options.decoder(pair);
    if (!utf8) diagnose("double-byte character without a glyph");
    addCharacter(utf8.value_or("?"), true);
    return;
  }
  if (byte >= 0x81 && byte != 0xFF && m_options.chineseMode) {
    m_leadByte = byte;
    return;
  }
  if (byte >= 0x80) {
    addCharacter("?", false);
    return;
  }
  addCharacter(std::string(1, static_cast<char>(byte)), false);
}

void ReceiptLayout::addCharacter(std::string text, bool doubleByte) {
  PlacedGlyph glyph;
  glyph.scaleX = m_scaleX;
  glyph.scaleY = m_scaleY;
  glyph.fontB = m_fontB && !doubleByte;
  glyph.width = doubleByte ? kDoubleByteSize * m_scaleX : characterWidth();
  glyph.height = doubleByte ? kDoubleByteSize * m_scaleY : characterHeight();
  glyph.emphasized = m_emphasized;
  glyph.underline = m_underline;
  glyph.text = std::move(text);
  if (m_x + glyph.width > m_options.paperWidth && !m_line.empty()) printLine(true);
  glyph.x = m_x;
  m_x += glyph.width;
  m_line.push_back({std::move(glyph)});
}

void ReceiptLayout::horizontalTab() {
  for (int stop : m_tabStops) {
    if (stop > m_x) {
      if (stop <= m_options.paperWidth) m_x = stop;
      return;
    }
  }
}

// Prints the line buffer. With feed, the paper moves by the line's height even when
// the buffer is empty (an empty line); without it, only a non-empty line moves it.
void ReceiptLayout::printLine(bool feedAfter) {
  if (m_line.empty() && m_x == 0) {
    if (feedAfter) feed(m_lineSpacing);
    return;
  }
  int tallest = 0;
  for (const PendingGlyph& pending : m_line) tallest = std::max(tallest, pending.glyph.height);
  makeRoom(std::max(m_lineSpacing, tallest));
  const int contentWidth = m_line.empty() ? m_x : m_line.back().glyph.x + m_line.back().glyph.width;
  const int offset = justifiedOffset(contentWidth);
  PrintedLine line;
  line.y = m_y;
  line.height = std::max(m_lineSpacing, tallest);
  line.x = offset + (m_line.empty() ? 0 : m_line.front().glyph.x);
  line.width = contentWidth - (m_line.empty() ? 0 : m_line.front().glyph.x);
  int column = 0;
  for (PendingGlyph& pending : m_line) {
    PlacedGlyph& glyph = pending.glyph;
    // Blanks left by tabs show as spaces in the text read back.
    while (column < glyph.x) {
      line.text += ' ';
      column += kFontAWidth;
    }
    line.text += glyph.text;
    column = glyph.x + glyph.width;
    glyph.x += offset;
    glyph.y = m_y + tallest - glyph.height;
    m_current.glyphs.push_back(std::move(glyph));
  }
  m_current.lines.push_back(std::move(line));
  m_line.clear();
  m_x = 0;
  m_anything = true;
  feed(std::max(m_lineSpacing, tallest));
}

void ReceiptLayout::feed(int dots) {
  dots = std::max(0, dots);
  while (m_y + dots > kMaxPageHeight) {
    dots -= kMaxPageHeight - m_y;
    m_y = kMaxPageHeight;
    tearPage();
  }
  m_y += dots;
  m_current.height = m_y;
  m_anything = true;
}

void ReceiptLayout::makeRoom(int dots) {
  if (m_y > 0 && m_y + dots > kMaxPageHeight) tearPage();
}

void ReceiptLayout::tearPage() {
  m_current.height = m_y;
  if (m_current.lines.empty() && m_current.glyphs.empty() && m_current.barcodes.empty()) {
    m_blankDotsDropped += m_y;
  } else {
    m_current.torn = true;
    m_finished.push_back(std::move(m_current));
  }
  m_current = Receipt{};
  m_current.width = m_options.paperWidth;
  m_y = 0;
}

void ReceiptLayout::diagnose(std::string text) {
  if (m_diagnostics.size() >= kMaxDiagnostics) {
    ++m_diagnosticsDropped;
    return;
  }
  m_diagnostics.push_back(std::move(text));
}

void ReceiptLayout::placeHumanReadable(const std::string& text, int left, int width, int top) {
  const int cellWidth = m_hriFontB ? kFontBWidth : kFontAWidth;
  const int cellHeight = m_hriFontB ? kFontBHeight : kFontAHeight;
  const int textWidth = static_cast<int>(text.size()) * cellWidth;
  int x = left + (width - textWidth) / 2;
  x = std::clamp(x, 0, std::max(0, m_options.paperWidth - textWidth));
  for (char c : text) {
    PlacedGlyph glyph;
    glyph.x = x;
    glyph.y = top;
    glyph.width = cellWidth;
    glyph.height = cellHeight;
    glyph.fontB = m_hriFontB;
    glyph.text = std::string(1, c);
    m_current.glyphs.push_back(std::move(glyph));
    x += cellWidth;
  }
  PrintedLine line;
  line.y = top;
  line.height = cellHeight;
  line.x = left + (width - textWidth) / 2;
  line.width = textWidth;
  line.text = text;
  m_current.lines.push_back(std::move(line));
}

void ReceiptLayout::barcode(const PrinterCommand& command) {
  printLine(false);
  auto encoded = EncodeBarcode(command.a, command.data);
  if (auto* error = std::get_if<std::string>(&encoded)) {
    diagnose("barcode not printed: " + *error);
    return;
  }
  PlacedBarcode placed;
  placed.symbol = std::move(std::get<BarcodeSymbol>(encoded));
  placed.moduleWidth = m_barcodeWidth;
  placed.height = m_barcodeHeight;
  const int width = placed.width();
  if (width > m_options.paperWidth) {
    diagnose("barcode not printed: " + placed.symbol.symbology + " is " + std::to_string(width) +
                            " dots wide, the paper " + std::to_string(m_options.paperWidth));
    return;
  }
  placed.x = justifiedOffset(width);
  const int hriHeight = m_hriFontB ? kFontBHeight : kFontAHeight;
  makeRoom(placed.height + ((m_hriPosition & 1) ? hriHeight + kHriGap : 0) +
           ((m_hriPosition & 2) ? hriHeight + kHriGap : 0));
  int y = m_y;
  if (m_hriPosition & 1) {
    placeHumanReadable(placed.symbol.humanReadable, placed.x, width, y);
    y += hriHeight + kHriGap;
  }
  placed.y = y;
  y += placed.height;
  if (m_hriPosition & 2) {
    placeHumanReadable(placed.symbol.humanReadable, placed.x, width, y + kHriGap);
    y += kHriGap + hriHeight;
  }
  m_current.barcodes.push_back(std::move(placed));
  feed(y - m_y);
}

void ReceiptLayout::cut(int feedDots, bool partial) {
  printLine(false);
  feed(feedDots);
  m_current.cut = true;
  m_current.partialCut = partial;
  m_finished.push_back(std::move(m_current));
  m_current = Receipt{};
  m_current.width = m_options.paperWidth;
  m_y = 0;
  m_anything = false;
}

std::vector<Receipt> ReceiptLayout::takeFinished() { return std::exchange(m_finished, {}); }

std::optional<Receipt> ReceiptLayout::flush() {
  printLine(false);
  if (!m_anything) return std::nullopt;
  Receipt rest = std::move(m_current);
  m_current = Receipt{};
  m_current.width = m_options.paperWidth;
  m_y = 0;
  m_anything = false;
  return rest;
}

std::vector<std::string> ReceiptLayout::takeDiagnostics() {
  if (m_blankDotsDropped > 0) {
    m_diagnostics.push_back(std::to_string(m_blankDotsDropped) + " dots of blank paper torn off and dropped");
    m_blankDotsDropped = 0;
  }
  if (m_diagnosticsDropped > 0) {
    m_diagnostics.push_back("... and " + std::to_string(m_diagnosticsDropped) + " more diagnostics");
    m_diagnosticsDropped = 0;
  }
  return std::exchange(m_diagnostics, {});
}

}  // namespace printer
