// The drive script: what each step line becomes, and which lines are refused with
// their line number.
#include "platform/ui/drive/drive_script.h"

#include <gtest/gtest.h>

#include "platform/ui/drive/transcript.h"

namespace kit::ui::drive {
namespace {

Script Parsed(const std::string& text) {
  auto parsed = ParseScript(text);
  if (auto* error = std::get_if<ScriptError>(&parsed)) {
    ADD_FAILURE() << "line " << error->line << ": " << error->message;
    return {};
  }
  return std::get<Script>(parsed);
}

TEST(DriveScriptTest, EveryStepReadsItsArguments) {
  const struct {
    const char* line;
    StepKind kind;
    int id;
    int number;
    std::string text;
  } cases[] = {
      {"click 1010", StepKind::Click, 1010, 0, ""},
      {"  text 3011 \"a\\\"b\\\\c\\r\\n\\t\\x41\\xe4\"", StepKind::Text, 3011, 0, "a\"b\\c\r\n\tA\xE4"},
      {"text 7 \"# not a comment\"  # a comment", StepKind::Text, 7, 0, "# not a comment"},
      {"text 7 \"\xE4\xB8\xAD\"", StepKind::Text, 7, 0, "\xE4\xB8\xAD"},
      {"select 1021 -1", StepKind::Select, 1021, -1, ""},
      {"select 1021 3\r", StepKind::Select, 1021, 3, ""},
      {"dblclick 1050 0", StepKind::DoubleClick, 1050, 0, ""},
      {"focus 65535", StepKind::Focus, 65535, 0, ""},
      {"page 2", StepKind::Page, 0, 2, ""},
      {"wait 3600000", StepKind::Wait, 0, 3600000, ""},
      {"show 0", StepKind::Show, 0, 0, ""},
      {"close", StepKind::Close, 0, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const Script script = Parsed(c.line);
    ASSERT_EQ(script.steps.size(), 1u);
    const Step& s = script.steps[0];
    EXPECT_EQ(s.kind, c.kind);
    EXPECT_EQ(s.id, c.id);
    EXPECT_EQ(s.number, c.number);
    EXPECT_EQ(s.text, c.text);
    EXPECT_EQ(s.line, 1);
  }
}

TEST(DriveScriptTest, KeysFilesAndLineNumbersSkipCommentsAndBlankLines) {
  const Script script = Parsed(
      "# a script\n"
      "\n"
      "key enter\n"
      "key escape\r\n"
      "key tab\n"
      "   key space   # trailing\n"
      "file cancel\n"
      "file \"cancel\"\n"
      "file /tmp/x.txt\n"
      "file C:\\TEMP\\A.TXT\n");
  ASSERT_EQ(script.steps.size(), 8u);
  EXPECT_EQ(script.steps[0].line, 3);
  EXPECT_EQ(script.steps[0].key, Key::Enter);
  EXPECT_EQ(script.steps[1].key, Key::Escape);
  EXPECT_EQ(script.steps[2].key, Key::Tab);
  EXPECT_EQ(script.steps[3].key, Key::Space);
  EXPECT_EQ(script.steps[3].line, 6);
  EXPECT_TRUE(script.steps[4].cancel);
  EXPECT_FALSE(script.steps[5].cancel);
  EXPECT_EQ(script.steps[5].text, "cancel");  // a file of that name
  EXPECT_EQ(script.steps[6].text, "/tmp/x.txt");
  EXPECT_EQ(script.steps[6].line, 9);
  EXPECT_EQ(script.steps[7].text, "C:\\TEMP\\A.TXT");  // backslashes of a bare word stay
}

TEST(DriveScriptTest, MalformedLinesNameTheirLine) {
  const struct {
    const char* script;
    int line;
    const char* says;
  } cases[] = {
      {"click 1\nclik 2\n", 2, "unknown step"},
      {"click\n", 1, "takes 1 argument"},
      {"click 1 2\n", 1, "takes 1 argument"},
      {"click 65536\n", 1, "ID must be"},
      {"click -1\n", 1, "ID must be"},
      {"click 1x\n", 1, "ID must be"},
      {"click \"1\"\n", 1, "ID must be"},
      {"select 5 -2\n", 1, "N must be"},
      {"dblclick 5 -1\n", 1, "N must be"},
      {"wait 3600001\n", 1, "MS must be"},
      {"wait 99999999999999\n", 1, "MS must be"},
      {"\n\ntext 5 \"open\n", 3, "unterminated string"},
      {"text 5 abc\n", 1, "double quotes"},
      {"text 5 \"a\\q\"\n", 1, "unknown escape"},
      {"text 5 \"a\\x4\"\n", 1, "two hex digits"},
      {"text 5 \"a\\xZZ\"\n", 1, "two hex digits"},
      {"text 5 \"a\"b\n", 1, "text after a string"},
      {"text 5 \"a\\", 1, "unterminated string"},
      {"key return\n", 1, "key must be"},
      {"key \"enter\"\n", 1, "key must be"},
      {"file\n", 1, "takes 1 argument"},
      {"file \"\"\n", 1, "path or cancel"},
      {"CLICK 1\n", 1, "unknown step"},
      {"file /tmp/a b.txt\n", 1, "takes 1 argument"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    auto parsed = ParseScript(c.script);
    ASSERT_TRUE(std::holds_alternative<ScriptError>(parsed));
    const auto& error = std::get<ScriptError>(parsed);
    EXPECT_EQ(error.line, c.line);
    EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
  }
  auto withNul = ParseScript(std::string("click 1\nclick\0 2\n", 17));
  ASSERT_TRUE(std::holds_alternative<ScriptError>(withNul));
  EXPECT_EQ(std::get<ScriptError>(withNul).line, 2);
  auto huge = ParseScript(std::string(kMaxScriptBytes + 1, '#'));
  ASSERT_TRUE(std::holds_alternative<ScriptError>(huge));
  EXPECT_EQ(std::get<ScriptError>(huge).line, 0);
}

TEST(DriveScriptTest, LoadingAMissingScriptIsAnErrorOfTheWholeScript) {
  auto parsed = LoadScript("/nonexistent/drive-script");
  ASSERT_TRUE(std::holds_alternative<ScriptError>(parsed));
  EXPECT_EQ(std::get<ScriptError>(parsed).line, 0);
}

TEST(TranscriptQuoteTest, EscapesControlBytesAndBrokenUtf8ButKeepsUtf8) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"plain", "\"plain\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"l1\r\nl2\tx", "\"l1\\r\\nl2\\tx\""},
      {std::string("\0\x01\x1F\x7F", 4), "\"\\x00\\x01\\x1F\\x7F\""},
      {"\xE4\xB8\xAD\xE6\x96\x87", "\"\xE4\xB8\xAD\xE6\x96\x87\""},  // UTF-8 passes
      {"\xD6\xD0", "\"\\xD6\\xD0\""},                                // code page 936 bytes do not
      {"\xE4\xB8", "\"\\xE4\\xB8\""},                                // cut sequence
      {"\xC0\xAF", "\"\\xC0\\xAF\""},                                // overlong
      {"\xED\xA0\x80", "\"\\xED\\xA0\\x80\""},                       // surrogate
      {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
  };
  for (const auto& c : cases) EXPECT_EQ(Quote(c.in), c.out);
}

}  // namespace
}  // namespace kit::ui::drive
