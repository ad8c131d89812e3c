#include "sim/printer/escpos_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace printer {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Parses bytes in chunks of the given size and describes each command in a word.
std::vector<std::string> Parse(const std::string& stream, std::size_t chunk = 0) {
  std::vector<std::string> out;
  EscPosParser parser([&](const PrinterCommand& c) {
    std::string word;
    switch (c.kind) {
      case CommandKind::Text: word = std::string(1, static_cast<char>(c.a)); break;
      case CommandKind::LineFeed: word = "LF"; break;
      case CommandKind::HorizontalTab: word = "HT"; break;
      case CommandKind::Initialize: word = "INIT"; break;
      case CommandKind::Justify: word = "JUSTIFY" + std::to_string(c.a); break;
      case CommandKind::TabPositions:
        word = "TABS";
        for (auto v : c.data) word += ":" + std::to_string(v);
        break;
      case CommandKind::CharacterSize: word = "SIZE" + std::to_string(c.a) + "x" + std::to_string(c.b); break;
      case CommandKind::Cut: word = "CUT" + std::to_string(c.a) + (c.b ? "p" : "f"); break;
      case CommandKind::Barcode: word = "BAR" + std::to_string(c.a) + "[" + std::string(c.data.begin(), c.data.end()) + "]"; break;
      case CommandKind::PageModeOnly: word = "PAGE(" + c.text + ")"; break;
      case CommandKind::Unknown: word = "UNKNOWN(" + c.text.substr(0, c.text.find(':')) + ")"; break;
      default: word = "CMD" + std::to_string(static_cast<int>(c.kind)); break;
    }
    out.push_back(word);
  });
  const auto bytes = Bytes(stream);
  if (chunk == 0) chunk = bytes.size() ? bytes.size() : 1;
  for (std::size_t i = 0; i < bytes.size(); i += chunk)
    parser.feed(std::span(bytes).subspan(i, std::min(chunk, bytes.size() - i)));
  parser.finish();
  EXPECT_EQ(parser.bytesParsed(), bytes.size());
  return out;
}

const std::string Z(1, '\0');

TEST(EscPosParser, CommandsOfTheDemonstration) {
  const struct {
    std::string stream;
    std::vector<std::string> expected;
  } cases[] = {
      {"\x1B@A\n", {"INIT", "A", "LF"}},
      {"\x1B\x61\x01\x1B\x61" + Z, {"JUSTIFY1", "JUSTIFY0"}},
      {"\x1D!\x11\x1D!\x01\x1D!" + Z, {"SIZE2x2", "SIZE1x2", "SIZE1x1"}},
      {"\x1DVB" + Z + "\x1DV\x01", {"CUT0p", "CUT0p"}},
      {"\x1D\\d" + Z + "\x1B\x0C", {"PAGE(GS \\)", "PAGE(ESC FF)"}},
      // The tab list ends at the first byte not larger than the last: the HT counts.
      {"\x1B" "D\x0A\x09W", {"TABS:10", "HT", "W"}},
      {"\x1B" "D\x04\x08" + Z + "x", {"TABS:4:8", "x"}},
      {"\x1Dk\x05" "0123" + Z, {"BAR5[0123]"}},
      {"\x1Dk\x49\x03{B1x", {"BAR73[{B1]", "x"}},
      // ESC LF is no command: reported, both bytes used up, nothing printed.
      {"\x1B\x0A" "A", {"UNKNOWN(1B 0A)", "A"}},
      {"\x01" "B", {"UNKNOWN(01)", "B"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.stream), c.expected);
    EXPECT_EQ(Parse(c.stream, 1), c.expected) << "byte by byte";
  }
}

TEST(EscPosParser, CommandCutByTheEndOfTheStreamIsReported) {
  EXPECT_EQ(Parse("A\x1Dk\x49\x05{B"), (std::vector<std::string>{"A", "UNKNOWN(1D 6B 49 05 7B 42)"}));
  EXPECT_EQ(Parse("\x1B"), (std::vector<std::string>{"UNKNOWN(1B)"}));
}

TEST(EscPosParser, UnterminatedBarcodeDataDoNotSwallowTheStream) {
  const std::string data(300, '7');
  const auto words = Parse("\x1Dk\x02" + data);
  ASSERT_FALSE(words.empty());
  EXPECT_EQ(words.front(), "UNKNOWN(1D 6B 02)");
  EXPECT_EQ(words.size(), 1 + data.size());  // the digits come out as text
}

}  // namespace
}  // namespace printer
