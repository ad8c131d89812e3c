#include "platform/profile/profile_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "platform/profile/growing_profile_reader.h"
#include "platform/profile/tests/temp_folder.h"
#include "platform/test_support/file_contents.h"

namespace kit::profile {
namespace {

using kit::test_support::ReadFileBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ProfileFileTest, AMissingFileGivesTheDefaultAndCreatesNothing) {
  TempFolder dir;
  const auto path = dir.file("user.ini");
  char buffer[16];
  EXPECT_EQ(ReadProfileString("ComSet", "BaudRate", "J57", buffer, sizeof buffer, path), 3u);
  EXPECT_STREQ(buffer, "J57");
  EXPECT_EQ(ReadProfileInt("ComSet", "ComEn", 1, path), 1);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(ProfileFileTest, ValuesAreReadAsWrittenWhateverTheLineStyle) {
  struct Case {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;  // nullptr: the default
  };
  const Case cases[] = {
      {"[ComSet]\r\nBaudRate=9600\r\n", "ComSet", "BaudRate", "9600"},
      {"[ComSet]\nBaudRate=9600\n", "ComSet", "BaudRate", "9600"},
      {"[ComSet]\nBaudRate=9600", "ComSet", "BaudRate", "9600"},  // no final newline
      {"[ComSet]\r\nBaudRate \t=  9600 \r\n", "ComSet", "BaudRate", "9600"},
      {" [ comset ] \nbaudrate=9600\n", "ComSet", "BAUDRATE", "9600"},
      {"[A]\nKey=\n", "A", "Key", ""},
      {"[A]\nKey=a;b ; c\n", "A", "Key", "a;b ; c"},  // a ";" inside a value is the caller's business
      {"[A]\nKey=\" padded \"\n", "A", "Key", " padded "},
      {"[A]\n;Key=1\n", "A", "Key", nullptr},
      {"[A]\nKey=1\n[B]\nKey=2\n[A]\nKey=3\n", "A", "Key", "1"},  // the first section counts
      {"[A]\nOther=1\n[B]\nKey=2\n", "A", "Key", nullptr},      // keys do not leak across sections
      {"Key=0\n[A]\nKey=1\n", "A", "Key", "1"},
      {"[A]\nKey=\xC4\xE3\xBA\xC3\n", "A", "Key", "\xC4\xE3\xBA\xC3"},  // code page bytes stay bytes
  };
  TempFolder dir;
  const auto path = dir.file("case.ini");
  for (const auto& c : cases) {
    WriteBytes(path, c.file);
    EXPECT_EQ(ReadProfileText(c.section, c.key, "<default>", 256, path), c.expected ? c.expected : "<default>")
        << c.file;
  }
}

TEST(ProfileFileTest, ReadsAreCutToTheBufferAndReportTheLength) {
  TempFolder dir;
  const auto path = dir.file("cut.ini");
  WriteBytes(path, "[S]\nK=abcdef\n");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(ReadProfileString("S", "K", "", buffer, 4, path), 3u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(ReadProfileString("S", "K", "", buffer, 1, path), 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(ReadProfileString("S", "K", "", buffer, 0, path), 0u);
  EXPECT_EQ(ReadProfileText("S", "missing", "defaultvalue", 5, path), "defa");
  // A default without storage (an empty view has no data pointer) gives an empty text.
  buffer[0] = 'x';
  EXPECT_EQ(ReadProfileString("S", "missing", std::string_view{}, buffer, 4, path), 0u);
  EXPECT_EQ(buffer[0], '\0');
}

TEST(ProfileFileTest, NumbersReadTheirLeadingDigits) {
  const std::pair<const char*, int> cases[] = {
      {"115200", 115200}, {"12abc", 12},         {" -1", -1},    {"+7", 7}, {"", 0},
      {"abc", 0},         {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
  };
  TempFolder dir;
  const auto path = dir.file("n.ini");
  for (const auto& [text, expected] : cases) {
    WriteBytes(path, std::string("[S]\nN=") + text + "\n");
    EXPECT_EQ(ReadProfileInt("S", "N", 42, path), expected) << text;
  }
  EXPECT_EQ(ReadProfileInt("S", "Missing", 42, path), 42);
}

TEST(ProfileFileTest, WritingAKeyKeepsEveryOtherByte) {
  TempFolder dir;
  const auto path = dir.file("user.ini");
  const std::string head = "; settings\r\n[Manufacturer]\r\nFw Down = 1 \r\n\r\n";
  const std::string tail = "\r\n[Other]\r\nx=\"q\"\r\n";
  WriteBytes(path, head + "[ComSet]\r\nComEn=1\r\nBaudRate=9600" + tail);

  ASSERT_TRUE(WriteProfileString("comset", "baudrate", "115200", path));
  EXPECT_EQ(ReadFileBytes(path), head + "[ComSet]\r\nComEn=1\r\nBaudRate=115200" + tail);

  ASSERT_TRUE(WriteProfileString("ComSet", "DataBit", "0", path));
  EXPECT_EQ(ReadFileBytes(path), head + "[ComSet]\r\nComEn=1\r\nBaudRate=115200\r\nDataBit=0" + tail);

  ASSERT_TRUE(WriteProfileString("WireLessSet", "Channel", "-1", path));
  EXPECT_EQ(ReadFileBytes(path),
            head + "[ComSet]\r\nComEn=1\r\nBaudRate=115200\r\nDataBit=0" + tail + "[WireLessSet]\r\nChannel=-1\r\n");
}

TEST(ProfileFileTest, WritesCreateTheFileAndAppendAfterAMissingFinalNewline) {
  TempFolder dir;
  const auto fresh = dir.file("fresh.ini");
  ASSERT_TRUE(WriteProfileString("WireLessSet", "Mac", "0", fresh));
  EXPECT_EQ(ReadFileBytes(fresh), "[WireLessSet]\r\nMac=0\r\n");

  const auto unix = dir.file("unix.ini");
  WriteBytes(unix, "[A]\nx=1");
  ASSERT_TRUE(WriteProfileString("A", "y", "2", unix));
  ASSERT_TRUE(WriteProfileString("B", "z", "3", unix));
  EXPECT_EQ(ReadFileBytes(unix), "[A]\nx=1\ny=2\n[B]\nz=3\n");

  // A file whose last line ends in a lone carriage return (found by fuzzing: the new key
  // was written into a second section of the same name and could not be read back).
  const auto cr = dir.file("cr.ini");
  WriteBytes(cr, "x\n[ComSet]\r");
  ASSERT_TRUE(WriteProfileString("ComSet", "BaudRate", "9600", cr));
  EXPECT_EQ(ReadFileBytes(cr), "x\n[ComSet]\r\nBaudRate=9600\n");
  EXPECT_EQ(ReadProfileText("ComSet", "BaudRate", "", 16, cr), "9600");
  // A file of one line ending in a lone carriage return: new lines end in CR LF.
  WriteBytes(cr, "a=1\r");
  ASSERT_TRUE(WriteProfileString("ComSet", "BaudRate", "9600", cr));
  EXPECT_EQ(ReadFileBytes(cr), "a=1\r\r\n[ComSet]\r\nBaudRate=9600\r\n");
  EXPECT_EQ(ReadProfileText("ComSet", "BaudRate", "", 16, cr), "9600");
}

TEST(ProfileFileTest, EveryValueWrittenReadsBackUnchanged) {
  const std::string values[] = {"",        " lead",  "trail ", "\"quoted\"", "\"",       "a=b",
                                "x;y",     "[not]",  "\t",     "\xB1\xB1\xBE\xA9", std::string(3000, 'v')};
  TempFolder dir;
  const auto path = dir.file("round.ini");
  for (const auto& v : values) {
    ASSERT_TRUE(WriteProfileString("S", "K", v, path)) << v;
    EXPECT_EQ(ReadProfileText("S", "K", "<default>", 4096, path), v);
  }
}

TEST(ProfileFileTest, WhatTheFileCannotHoldIsRefusedAndNothingIsWritten) {
  TempFolder dir;
  const auto path = dir.file("bad.ini");
  WriteBytes(path, "[S]\nK=1\n");
  EXPECT_EQ(WriteProfileString("S", "K", "two\nlines", path).error, WriteError::InvalidValue);
  EXPECT_EQ(WriteProfileString("S", "K=", "1", path).error, WriteError::InvalidName);
  EXPECT_EQ(WriteProfileString("S]", "K", "1", path).error, WriteError::InvalidName);
  EXPECT_EQ(WriteProfileString("", "K", "1", path).error, WriteError::InvalidName);
  EXPECT_EQ(WriteProfileString("S", ";K", "1", path).error, WriteError::InvalidName);
  EXPECT_EQ(ReadFileBytes(path), "[S]\nK=1\n");
  EXPECT_EQ(WriteProfileString("S", "K", "1", dir.file("no/such/folder.ini")).error, WriteError::WriteFailed);
}

TEST(GrowingProfileReaderTest, LongValuesAreReadWholeAndTheCapacityIsKept) {
  TempFolder dir;
  const auto path = dir.file("long.ini");
  GrowingProfileReader reader(512);
  for (std::size_t length : {510u, 511u, 512u, 1500u}) {
    const std::string value(length, 'p');
    ASSERT_TRUE(WriteProfileString("S", "K", value, path));
    EXPECT_EQ(reader.read("S", "K", path), value) << length;
  }
  EXPECT_EQ(reader.capacity(), 2048u);
  EXPECT_EQ(reader.read("S", "Missing", path, "dflt"), "dflt");
}

}  // namespace
}  // namespace kit::profile
