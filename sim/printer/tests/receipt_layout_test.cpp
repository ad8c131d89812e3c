#include "sim/printer/receipt_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "printer_demo/core/barcode_test.h"
#include "printer_demo/core/manual_text.h"
#include "printer_demo/core/sample_receipts.h"
#include "sim/printer/virtual_printer.h"

namespace printer {
namespace {

std::vector<Receipt> Print(const j57::Pieces& pieces, std::vector<std::string>* diagnostics = nullptr) {
  VirtualPrinter virtualPrinter;
  virtualPrinter.feed(j57::Join(pieces));
  virtualPrinter.finish();
  if (diagnostics) *diagnostics = virtualPrinter.takeDiagnostics();
  return virtualPrinter.takeReceipts();
}

std::vector<Receipt> Print(const std::string& stream) {
  VirtualPrinter virtualPrinter;
  virtualPrinter.feed(std::vector<std::uint8_t>(stream.begin(), stream.end()));
  virtualPrinter.finish();
  return virtualPrinter.takeReceipts();
}

TEST(ReceiptLayout, PaperIsAStreamTornIntoPagesOfBoundedLength) {
  std::string feeds;
  for (int i = 0; i < 400; ++i) feeds += "\x1B\x64\xFF";  // ESC d 255: 7650 dots of paper each
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += "line " + std::to_string(i) + "\n";
  const struct {
    const char* what;
    std::string stream;
    std::size_t printedLines;
    bool blankDropped;
  } cases[] = {{"feeds alone", feeds, 0, true}, {"many lines", lines, 2000, false},
               {"lines between feeds", "top\n" + feeds + "bottom\n", 2, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    VirtualPrinter virtualPrinter;
    virtualPrinter.feed(std::vector<std::uint8_t>(c.stream.begin(), c.stream.end()));
    virtualPrinter.finish();
    const auto receipts = virtualPrinter.takeReceipts();
    const auto diagnostics = virtualPrinter.takeDiagnostics();
    ASSERT_FALSE(receipts.empty());
    EXPECT_LE(receipts.size(), 10u);
    std::size_t printed = 0;
    for (std::size_t i = 0; i < receipts.size(); ++i) {
      const Receipt& r = receipts[i];
      EXPECT_LE(r.height, ReceiptLayout::kMaxPageHeight);
      EXPECT_EQ(r.torn, i + 1 < receipts.size());
      for (const PlacedGlyph& g : r.glyphs) EXPECT_LE(g.y + g.height, r.height);
      printed += r.lines.size();
    }
    EXPECT_EQ(printed, c.printedLines);  // no line is lost at a tear
    bool dropped = false;
    for (const auto& d : diagnostics) dropped = dropped || d.find("blank paper torn off") != std::string::npos;
    EXPECT_EQ(dropped, c.blankDropped);
  }
}

TEST(ReceiptLayout, DiagnosticsAreCountedBeyondTheirLimit) {
  std::vector<std::uint8_t> unknown;
  for (int i = 0; i < 5000; ++i) unknown.insert(unknown.end(), {0x1B, 0x01});
  VirtualPrinter virtualPrinter;
  virtualPrinter.feed(unknown);
  const auto diagnostics = virtualPrinter.takeDiagnostics();
  ASSERT_EQ(diagnostics.size(), ReceiptLayout::kMaxDiagnostics + 1);
  EXPECT_NE(diagnostics.back().find("more diagnostics"), std::string::npos);
}

TEST(ReceiptLayout, MenuLinesSizesAndOneCut) {
  const auto receipts = Print(j57::MenuReceipt(j57::PrintRoute::Serial, "2026/03/07    09:05:04 "));
  ASSERT_EQ(receipts.size(), 1u);
  const Receipt& r = receipts[0];
  EXPECT_TRUE(r.cut);
  EXPECT_TRUE(r.partialCut);
  ASSERT_EQ(r.lines.size(), 5u);
  const struct {
    const char* text;
    int y, height, width;
  } expected[] = {
      {"Num:(Hall)3", 0, 48, 11 * 24},            // double width and height
      {"Waiter:99", 48, 48, 9 * 12},              // double height
      {"2026/03/07    09:05:04 ", 96, 48, 23 * 12},
      {"1 Fried Prawns ", 144, 48, 15 * 24},
      {"PNO:0001", 192, 30, 8 * 12},              // normal: the line spacing
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(r.lines[i].text, expected[i].text);
    EXPECT_EQ(r.lines[i].y, expected[i].y) << expected[i].text;
    EXPECT_EQ(r.lines[i].height, expected[i].height) << expected[i].text;
    EXPECT_EQ(r.lines[i].width, expected[i].width) << expected[i].text;
    EXPECT_EQ(r.lines[i].x, 0);
  }
  EXPECT_EQ(r.height, 222);
}

TEST(ReceiptLayout, ShoppingListTabIndentAndCentredBarcode) {
  std::vector<std::string> diagnostics;
  const auto receipts = Print(j57::ShoppingListReceipt(j57::PrintRoute::Lpt2, "2026/03/07   09:05"), &diagnostics);
  EXPECT_TRUE(diagnostics.empty()) << diagnostics.front();
  ASSERT_EQ(receipts.size(), 1u);
  const Receipt& r = receipts[0];
  const auto welcome = std::find_if(r.lines.begin(), r.lines.end(), [](const PrintedLine& line) {
    return line.text.find("Welcome for you to come") != std::string::npos;
  });
  ASSERT_NE(welcome, r.lines.end());
  EXPECT_EQ(welcome->x, 120);  // ten character widths of font A
  ASSERT_EQ(r.barcodes.size(), 1u);
  const PlacedBarcode& code = r.barcodes[0];
  EXPECT_EQ(code.symbol.humanReadable, "No.123456");
  EXPECT_EQ(code.height, 100);
  EXPECT_EQ(code.moduleWidth, 2);
  EXPECT_EQ(code.x, (576 - code.width()) / 2);
  // Human-readable text above and below the bars.
  int above = 0, below = 0;
  for (const PrintedLine& line : r.lines) {
    if (line.text != "No.123456") continue;
    if (line.y + line.height <= code.y) ++above;
    if (line.y >= code.y + code.height) ++below;
  }
  EXPECT_EQ(above, 1);
  EXPECT_EQ(below, 1);
}

TEST(ReceiptLayout, ChecksOnTheSerialRouteReportsEscLfOnly) {
  std::vector<std::string> diagnostics;
  const auto receipts = Print(j57::ChecksReceipt(j57::PrintRoute::Serial, "2026/03/07   09:05"), &diagnostics);
  ASSERT_EQ(receipts.size(), 1u);
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_NE(diagnostics[0].find("1B 0A"), std::string::npos);
  EXPECT_EQ(receipts[0].barcodes.size(), 1u);
}

TEST(ReceiptLayout, BarcodeTestsPrintEachSizeAsCommanded) {
  const auto* type = j57::FindBarcodeType("ITF");
  const struct {
    j57::BarcodeSize size;
    int height, moduleWidth;
  } cases[] = {{j57::BarcodeSize::Normal, 100, 2}, {j57::BarcodeSize::Widen, 100, 4}, {j57::BarcodeSize::Higher, 120, 2}};
  for (const auto& c : cases) {
    const auto receipts = Print(j57::BarcodeTestPieces(*type, c.size));
    ASSERT_EQ(receipts.size(), 1u);
    EXPECT_FALSE(receipts[0].cut);  // the barcode tests make no cut
    ASSERT_EQ(receipts[0].barcodes.size(), 1u);
    EXPECT_EQ(receipts[0].barcodes[0].height, c.height);
    EXPECT_EQ(receipts[0].barcodes[0].moduleWidth, c.moduleWidth);
    EXPECT_EQ(receipts[0].barcodes[0].x, 0);  // no justification set: left
    EXPECT_EQ(receipts[0].lines.front().text, "ITF Test");
  }
}

TEST(ReceiptLayout, CutsSplitReceiptsAndLongLinesWrap) {
  const std::string longLine(60, 'x');  // 48 font A characters fit in 576 dots
  const auto receipts = Print(longLine + "\n\x1DV\x01" "second\n\x1DV\x01" "tail");
  ASSERT_EQ(receipts.size(), 3u);
  ASSERT_EQ(receipts[0].lines.size(), 2u);
  EXPECT_EQ(receipts[0].lines[0].text, std::string(48, 'x'));
  EXPECT_EQ(receipts[0].lines[1].text, std::string(12, 'x'));
  EXPECT_EQ(receipts[1].lines[0].text, "second");
  EXPECT_TRUE(receipts[1].cut);
  EXPECT_FALSE(receipts[2].cut);  // paper after the last cut
  EXPECT_EQ(receipts[2].lines[0].text, "tail");
}

TEST(ReceiptLayout, ManualTextWithChineseCharacters) {
  // "票据" in code page 936, CR LF line breaks from the text box.
  const std::string text = j57::ToTextBoxLineBreaks("A\xC6\xB1\xBE\xDD\n");
  const auto receipts = Print(j57::ManualTextPieces(text, 2));
  ASSERT_EQ(receipts.size(), 1u);
  ASSERT_GE(receipts[0].lines.size(), 2u);
  EXPECT_EQ(receipts[0].lines[0].text, "A\xE7\xA5\xA8\xE6\x8D\xAE");
  EXPECT_EQ(receipts[0].lines[0].width, 12 + 2 * 24);
  EXPECT_EQ(receipts[0].lines[1].text, receipts[0].lines[0].text);
}

}  // namespace
}  // namespace printer

namespace printer {
namespace {

// Arbitrary bytes in arbitrary pieces: every byte is accounted for and nothing breaks
// (run under the sanitizers this also checks every buffer access).
TEST(VirtualPrinter, ArbitraryBytesNeverBreakThePrinter) {
  std::uint32_t state = 12345;
  const auto next = [&] {
    state = state * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(state >> 16);
  };
  std::vector<std::uint8_t> bytes(200000);
  for (auto& b : bytes) {
    b = next();
    // Plenty of command starts, so that commands and their arguments get mixed up.
    if (b % 7 == 0) b = 0x1B;
    else if (b % 11 == 0) b = 0x1D;
  }
  VirtualPrinter virtualPrinter(384);
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const std::size_t piece = std::min<std::size_t>(1 + next() % 97, bytes.size() - offset);
    virtualPrinter.feed(std::span(bytes).subspan(offset, piece));
    offset += piece;
  }
  virtualPrinter.finish();
  EXPECT_EQ(virtualPrinter.bytesParsed(), bytes.size());
  for (const Receipt& receipt : virtualPrinter.takeReceipts()) {
    for (const PlacedGlyph& glyph : receipt.glyphs) {
      EXPECT_GE(glyph.x, 0);
      EXPECT_LE(glyph.x + glyph.width, 384 + 8 * 24) << "a glyph far outside the paper";
    }
    for (const PlacedBarcode& barcode : receipt.barcodes) EXPECT_LE(barcode.x + barcode.width(), 384);
  }
  EXPECT_FALSE(virtualPrinter.takeDiagnostics().empty());
}

}  // namespace
}  // namespace printer
