// Renders receipts to PNG and reads their barcodes back with an ordinary barcode
// reader (zbarimg), as a person with a scanner would.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/test_support/program_run.h"
#include "printer_demo/core/barcode_test.h"
#include "printer_demo/core/sample_receipts.h"
#include "sim/printer/receipt_renderer.h"
#include "sim/printer/virtual_printer.h"

namespace printer {
namespace {

namespace fs = std::filesystem;

class ReceiptRender : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/receipt-render.XXXXXX";
    m_dir = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Prints the pieces, renders the single receipt and returns the PNG path.
  std::string Render(const j57::Pieces& pieces, const std::string& name) {
    VirtualPrinter virtualPrinter;
    virtualPrinter.feed(j57::Join(pieces));
    virtualPrinter.finish();
    const auto receipts = virtualPrinter.takeReceipts();
    EXPECT_EQ(receipts.size(), 1u);
    const std::string path = (m_dir / (name + ".png")).string();
    if (receipts.empty()) return path;
    EXPECT_EQ(m_renderer.savePng(receipts[0], path), std::nullopt);
    return path;
  }

  // What zbarimg reads in the image: "TYPE:data" per symbol, one line each.
  static std::string Scan(const std::string& path) {
    return kit::test_support::RunShell("zbarimg -q '" + path + "' 2>/dev/null").output;
  }

  fs::path m_dir;
  ReceiptRenderer m_renderer;
};

TEST_F(ReceiptRender, TextFontResolves) { EXPECT_EQ(m_renderer.textFontFamily(), "DejaVu Sans Mono"); }

TEST_F(ReceiptRender, SampleBarcodeOfEveryReceiptScans) {
  for (j57::PrintRoute route : {j57::PrintRoute::Serial, j57::PrintRoute::Lpt1}) {
    EXPECT_EQ(Scan(Render(j57::ChecksReceipt(route, "2026/03/07   09:05"), "checks")), "CODE-128:No.123456\n");
    EXPECT_EQ(Scan(Render(j57::ShoppingListReceipt(route, "2026/03/07   09:05"), "shopping")),
              "CODE-128:No.123456\n");
  }
}

TEST_F(ReceiptRender, BarcodeTestsScanInEverySize) {
  const struct {
    const char* type;
    const char* scanned;
  } cases[] = {
      {"UPC-A", "EAN-13:0012345678905\n"},  // zbar reports UPC-A as its EAN-13 form
      {"JAN13", "EAN-13:0123456789012\n"},
      {"JAN8", "EAN-8:01234565\n"},
      {"CODE39", "CODE-39:012345678901\n"},
      {"ITF", "I2/5:012345678901\n"},
      {"CODABAR", "Codabar:A012345678901A\n"},
      {"CODE93", "CODE-93:Coe\r93\n"},
      {"CODE128", "CODE-128:No.123456\n"},
  };
  for (const auto& c : cases) {
    for (j57::BarcodeSize size : {j57::BarcodeSize::Normal, j57::BarcodeSize::Widen, j57::BarcodeSize::Higher}) {
      const auto* type = j57::FindBarcodeType(c.type);
      ASSERT_NE(type, nullptr);
      const std::string path = Render(j57::BarcodeTestPieces(*type, size), c.type);
      // CODE39 with module width 4 is wider than the paper, so the printer leaves it out.
      const bool tooWide = std::string(c.type) == "CODE39" && size == j57::BarcodeSize::Widen;
      EXPECT_EQ(Scan(path), tooWide ? "" : c.scanned) << c.type << " size " << static_cast<int>(size);
    }
  }
}

}  // namespace
}  // namespace printer
