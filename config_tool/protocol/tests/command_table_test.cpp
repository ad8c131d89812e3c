#include "config_tool/protocol/command_table.h"

#include <gtest/gtest.h>

#include <cstring>

#include "config_tool/protocol/command_request.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/reply_codec.h"

namespace tarnwave {
namespace {

std::string Request(int id, std::string_view argument) {
  CommandRequest request;
  request.commandId = id;
  std::memcpy(request.argument, argument.data(), argument.size());
  request.argumentLength = static_cast<int>(argument.size());
  return BuildRequestText(request).value_or("<none>");
}

TEST(CommandTable, EveryIdGivesItsMnemonic) {
  struct Case {
    int id;
    const char* mnemonic;
  };
  const Case cases[] = {
      {0, "WJOIN"},   {1, "WLEAV"}, {2, "WSCAN"}, {3, "SKCT"},  {4, "SKSND"},  {5, "SKRCV"}, {6, "SKSTT"},
      {7, "SKCLS"},   {16, ""},     {17, "Z"},    {18, "E"},    {19, "ENTS"},  {20, "ENTM"},  {21, "RSTF"},
      {22, "PMTF"},   {23, "IOC"},  {128, "SSID"}, {129, "BSSID"}, {130, "CHL"}, {131, "CHLL"}, {132, "ENCRY"},
      {133, "KEY"},   {134, "WPRT"}, {135, "WBGR"}, {136, "NIP"},  {137, "UART"}, {138, "ATM"},  {139, "ATRM"},
      {140, "WATC"},  {141, "ATPT"}, {142, "ATLT"}, {143, "ESPC"}, {144, "ESPT"}, {145, "WEBS"}, {146, "IOM"},
      {147, "CMDM"},  {148, "WARM"}, {149, "WARC"}, {150, "QMAC"}, {151, "QVER"}, {152, "LKSTT"}, {153, "PASS"},
      {64, "&UPDM"},  {65, "&UPDD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(CommandMnemonic(c.id), std::string_view(c.mnemonic));
    // No argument: no "=" part, a single carriage return and no line feed.
    EXPECT_EQ(Request(c.id, ""), "AT+" + std::string(c.mnemonic) + "\r");
    EXPECT_EQ(Request(c.id, "?"), "AT+" + std::string(c.mnemonic) + "=?\r");
  }
}

TEST(CommandTable, IdsOutsideTheTableBuildNoRequest) {
  for (int id : {-1, 44, 66, 127, 156, 255, 256, 1000}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(CommandMnemonic(id).has_value());
    EXPECT_EQ(Request(id, ""), "<none>");
  }
  // The index rule maps some unused ids onto real entries; that is how the table works.
  EXPECT_EQ(CommandMnemonic(24), "SSID");
  EXPECT_EQ(CommandMnemonic(8), "");
}

TEST(RequestText, ArgumentEndsAtItsLengthOrFirstZero) {
  CommandRequest request;
  request.commandId = 23;
  std::memcpy(request.argument, "12345", 5);
  request.argumentLength = 3;
  EXPECT_EQ(BuildRequestText(request), "AT+IOC=123\r");
  request.argument[1] = '\0';
  EXPECT_EQ(BuildRequestText(request), "AT+IOC=1\r");
  // A full 1024-byte argument without a zero stays inside its buffer.
  std::memset(request.argument, 'a', sizeof request.argument);
  request.argumentLength = kArgumentCapacity;
  EXPECT_EQ(BuildRequestText(request)->size(), 3 + 3 + 1 + 1024 + 1u);
  request.argumentLength = kArgumentCapacity + 1;
  EXPECT_FALSE(BuildRequestText(request).has_value());
}

TEST(ErrorText, KnownCodesHaveTheirTextOthersNone) {
  EXPECT_EQ(ErrorText(4), "parameters is invalid!");
  EXPECT_EQ(ErrorText(13), "connection failure!");
  EXPECT_EQ(ErrorText(100), "undefined error!");
  EXPECT_EQ(ErrorText(201), "no response!");
  EXPECT_EQ(ErrorText(203), "invalid handle!");
  EXPECT_EQ(ErrorText(204), "serial send failed!");
  EXPECT_EQ(ErrorText(255), "command returns error!");
  for (int code : {0, 8, 9, 14, 200, 241, -1}) EXPECT_EQ(ErrorText(code), "") << code;
}

}  // namespace
}  // namespace tarnwave
