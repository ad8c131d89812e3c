#include "sim/printer/barcode_encoder.h"

#include <gtest/gtest.h>
#include <zint.h>

#include <memory>
#include <string>

#include "sim/printer/code128_encoder.h"

namespace printer {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

BarcodeSymbol Encoded(int system, const std::string& data) {
  auto result = EncodeBarcode(system, Bytes(data));
  if (auto* error = std::get_if<std::string>(&result)) ADD_FAILURE() << *error;
  return std::holds_alternative<BarcodeSymbol>(result) ? std::get<BarcodeSymbol>(result) : BarcodeSymbol{};
}

// Our own Code 128 against zint for a text that zint also codes in set B alone.
TEST(Code128Encoder, MatchesAnIndependentEncoderInSetB) {
  const std::string text = "Hello, World!";
  auto ours = EncodeCode128(Bytes("{B" + text));
  ASSERT_TRUE(std::holds_alternative<BarcodeSymbol>(ours));
  std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> z(ZBarcode_Create(), ZBarcode_Delete);
  z->symbology = BARCODE_CODE128;
  ASSERT_LT(ZBarcode_Encode(z.get(), reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size())),
            ZINT_ERROR);
  std::vector<bool> theirs;
  for (int i = 0; i < z->width; ++i) theirs.push_back((z->encoded_data[0][i >> 3] >> (i & 7)) & 1);
  EXPECT_EQ(std::get<BarcodeSymbol>(ours).modules, theirs);
}

TEST(Code128Encoder, ExplicitCodeSetsOfTheSampleBarcode) {
  auto result = EncodeCode128(Bytes("{BNo.{C\x0C\x22\x38"));
  ASSERT_TRUE(std::holds_alternative<BarcodeSymbol>(result));
  const BarcodeSymbol& symbol = std::get<BarcodeSymbol>(result);
  EXPECT_EQ(symbol.humanReadable, "No.123456");
  // start B, N, o, ., code C, 12, 34, 56, check: nine characters of 11 modules, stop 13
  EXPECT_EQ(symbol.modules.size(), 9u * 11 + 13);
}

TEST(Code128Encoder, RefusesDataThePrinterRefuses) {
  for (const std::string& data : {std::string("No.123"), std::string("{Cx"), std::string("{B{Q"), std::string("{B")})
    EXPECT_TRUE(std::holds_alternative<std::string>(EncodeCode128(Bytes(data)))) << data;
}

TEST(BarcodeEncoder, PrinterComputesCheckDigits) {
  EXPECT_EQ(Encoded(0, "012345678901").humanReadable, "012345678905");
  EXPECT_EQ(Encoded(65, "01234567890").humanReadable, "012345678905");
  EXPECT_EQ(Encoded(2, "0123456789011").humanReadable, "0123456789012");
  EXPECT_EQ(Encoded(3, "01234567").humanReadable, "01234565");
  EXPECT_EQ(Encoded(0, "012345678901").modules.size(), 95u);
  EXPECT_EQ(Encoded(3, "01234567").modules.size(), 67u);
}

TEST(BarcodeEncoder, OtherSystemsAndTheirRules) {
  EXPECT_EQ(Encoded(4, "012345678901").humanReadable, "*012345678901*");
  EXPECT_EQ(Encoded(5, "012345678901").humanReadable, "012345678901");
  EXPECT_EQ(Encoded(6, "012345678901").humanReadable, "A012345678901A");
  EXPECT_EQ(Encoded(6, "B123C").humanReadable, "B123C");
  EXPECT_EQ(Encoded(72, "Coe\r93").humanReadable, "Coe 93");
  EXPECT_EQ(Encoded(1, "01234565").humanReadable, "01234565");
  for (const auto& [system, data] : std::vector<std::pair<int, std::string>>{
           {1, "012345678901"},  // a UPC-A number without a UPC-E form
           {5, "123"},           // odd number of digits
           {0, "12ab"},
           {4, ""},
           {74, "1"}})
    EXPECT_TRUE(std::holds_alternative<std::string>(EncodeBarcode(system, Bytes(data)))) << system << " " << data;
}

}  // namespace
}  // namespace printer
