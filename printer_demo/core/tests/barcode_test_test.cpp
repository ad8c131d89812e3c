#include "printer_demo/core/barcode_test.h"

#include <gtest/gtest.h>

#include <string>

#include "printer_demo/core/tests/piece_stream.h"

namespace j57 {
namespace {

const std::string kZero(1, '\0');

// Each type with each size, as the printer receives it.
TEST(BarcodeTest, EveryTypeWithEverySize) {
  struct Case {
    const char* type;
    std::string command;  // GS k and its data
    bool extraLf;
  };
  const Case types[] = {
      {"UPC-A", "\x1D\x6B" + kZero + "012345678901" + kZero, true},
      {"UPC-E", "\x1D\x6B\x01" "012345678901" + kZero, false},
      {"JAN13", "\x1D\x6B\x02" "0123456789011" + kZero, false},
      {"JAN8", "\x1D\x6B\x03" "01234567" + kZero, true},
      {"CODE39", "\x1D\x6B\x04" "012345678901" + kZero, false},
      {"ITF", "\x1D\x6B\x05" "012345678901" + kZero, false},
      {"CODABAR", "\x1D\x6B\x06" "012345678901" + kZero, false},
      {"CODE93", "\x1D\x6B\x48\x06" "Coe\r93", false},
      {"CODE128", "\x1D\x6B\x49\x0A" "{BNo.{C\x0C\x22\x38", false},
  };
  const struct {
    BarcodeSize size;
    std::string settings;
  } sizes[] = {{BarcodeSize::Normal, "\x1D\x68\x64\x1D\x77\x02"},
               {BarcodeSize::Widen, "\x1D\x68\x64\x1D\x77\x04"},
               {BarcodeSize::Higher, "\x1D\x68\x78\x1D\x77\x02"}};
  ASSERT_EQ(BarcodeTypes().size(), std::size(types));
  for (std::size_t i = 0; i < std::size(types); ++i) {
    const Case& c = types[i];
    EXPECT_EQ(BarcodeTypes()[i].listText, c.type) << "list order";
    const BarcodeType* type = FindBarcodeType(c.type);
    ASSERT_NE(type, nullptr) << c.type;
    for (const auto& s : sizes) {
      const std::string expected = std::string(c.type) + " Test" + "\n" + "\x1D\x5C\x64" + kZero + "\x1D\x66" +
                                   kZero + "\x1D\x48\x03" + s.settings + c.command + "\x1B\x0C" +
                                   (c.extraLf ? "\n" : "");
      EXPECT_EQ(Stream(BarcodeTestPieces(*type, s.size)), expected) << c.type;
    }
  }
}

TEST(BarcodeTest, TypeMatchIsExactAndCaseSensitive) {
  EXPECT_NE(FindBarcodeType("ITF"), nullptr);
  for (const char* text : {"itf", "ITF ", " ITF", "Code128", "", "UPC"})
    EXPECT_EQ(FindBarcodeType(text), nullptr) << '"' << text << '"';
}

}  // namespace
}  // namespace j57
