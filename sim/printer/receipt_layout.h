#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/printer/printer_command.h"
#include "sim/printer/receipt.h"

namespace printer {

// The printer's standard mode: a line buffer that is printed on LF, character sizes,
// justification, tab positions, line spacing, barcodes with their human-readable
// text, and cuts that end one receipt. Font A is 12 x 24 dots, font B 9 x 17, a
// double-byte (Chinese) character 24 x 24; one motion unit is one dot.
class ReceiptLayout {
 public:
  // Converts one double-byte character of the printer's Chinese code page to UTF-8.
  using DoubleByteDecoder = std::function<std::optional<std::string>(std::string_view)>;

  struct Options {
    int paperWidth = 576;        // printable dots across (80 mm paper)
    bool chineseMode = true;     // bytes from 0x81 start double-byte characters
    DoubleByteDecoder decoder;   // without one, double-byte characters print as "?"
  };

  explicit ReceiptLayout(Options options);

  void execute(const PrinterCommand& command);

  // Receipts ended by a cut since the last call.
  std::vector<Receipt> takeFinished();
  // Prints what is left in the line buffer and returns the paper printed since the
  // last cut, if anything was printed or fed.
  std::optional<Receipt> flush();
  // Unknown commands and data the printer could not print, since the last call.
  std::vector<std::string> takeDiagnostics();

  // Paper is a stream: a receipt that grows past this many dots (2 m at 8
  // dots per mm) is torn off as a page of its own, as a roll would be, and the
  // paper goes on on a new page. A torn page on which nothing was printed is
  // dropped (a diagnostic counts its dots), so feed commands alone never make
  // pages. Every receipt therefore stays at most this long.
  static constexpr int kMaxPageHeight = 16000;
  // Diagnostics kept between two takes; the rest are only counted.
  static constexpr std::size_t kMaxDiagnostics = 100;

  static constexpr int kDefaultLineSpacing = 30;
  static constexpr int kDefaultBarcodeHeight = 162;
  static constexpr int kDefaultBarcodeWidth = 3;

 private:
  struct PendingGlyph {
    PlacedGlyph glyph;  // x relative to the line start, y unset
  };

  void resetModes();
  void addCharacter(std::string text, bool doubleByte);
  void addText(std::uint8_t byte);
  void printLine(bool feed);
  void feed(int dots);
  void tearPage();
  // Tears the page first when `dots` more would not fit on it.
  void makeRoom(int dots);
  void diagnose(std::string text);
  void horizontalTab();
  void barcode(const PrinterCommand& command);
  void cut(int feedDots, bool partial);
  void placeHumanReadable(const std::string& text, int left, int width, int top);
  int characterWidth() const;
  int characterHeight() const;
  int justifiedOffset(int width) const;

  Options m_options;
  Receipt m_current;
  bool m_anything = false;  // something printed or fed since the last cut
  std::vector<Receipt> m_finished;
  std::vector<std::string> m_diagnostics;
  std::size_t m_diagnosticsDropped = 0;
  long long m_blankDotsDropped = 0;

  std::vector<PendingGlyph> m_line;
  int m_x = 0;
  int m_y = 0;
  int m_leadByte = -1;

  int m_scaleX = 1;
  int m_scaleY = 1;
  bool m_fontB = false;
  bool m_emphasized = false;
  bool m_underline = false;
  int m_justification = 0;
  int m_lineSpacing = kDefaultLineSpacing;
  std::vector<int> m_tabStops;  // in dots
  int m_hriPosition = 0;
  bool m_hriFontB = false;
  int m_barcodeHeight = kDefaultBarcodeHeight;
  int m_barcodeWidth = kDefaultBarcodeWidth;
};

}  // namespace printer
