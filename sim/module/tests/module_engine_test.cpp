#include "sim/module/module_engine.h"

#include <gtest/gtest.h>

namespace kitsim {
namespace {

ModuleEngine Engine() { return ModuleEngine({0x02, 0x4B, 1, 2, 3, 4}); }

TEST(ModuleEngine, ValueChecksAnswerCode4) {
  struct Case {
    const char* request;
    int error;
  };
  const Case cases[] = {
      {"AT+SSID=\"\"", 4},                          {"AT+SSID=\"123456789012345678901234567890123\"", 4},
      {"AT+SSID=NoQuotes", 4},                      {"AT+SSID=\"Ok\"", 0},
      {"AT+ENCRY=8", 4},                            {"AT+ENCRY=7", 0},
      {"AT+KEY=1,5,\"k\"", 4},                      {"AT+KEY=1,4,\"k\"", 0},
      // The tool sends key index 0 with every WPA key and an empty channel list when
      // every channel box is clear.
      {"AT+KEY=1,0,\"password\"", 0},               {"AT+CHLL=0000", 0},
      {"AT+NIP=1,\"10.0.0.256\",\"255.0.0.0\",\"10.0.0.1\",\"10.0.0.1\"", 4},
      {"AT+NIP=1,\"10.0.0.2\",\"255.0.0.0\",\"10.0.0.1\",\"10.0.0.1\"", 0},
      {"AT+ATRM=0,0,\"\",80", 4},                    {"AT+ATRM=0,1,300,80", 0},
      {"AT+BSSID=1,001a2b3c4d5", 4},                {"AT+BSSID=!1,001A2B3C4D5E", 0},
      {"AT+CHL=1,15", 4},                           {"AT+CHL=1,14", 0},
      {"AT+CHLL=4000", 4},                          {"AT+CHLL=3fff", 0},
      {"AT+UART=1000,0,0,0", 4},                    {"AT+UART=9600,1,2,2", 0},
      {"AT+ATPT=99", 4},                            {"AT+ATLT=1025", 4},
      {"AT+ESPC=2", 4},                             {"AT+ESPC=7f", 0},
      {"AT+WEBS=1,0", 4},                           {"AT+WEBS=0", 0},
      {"AT+PASS=\"12345\"", 4},                     {"AT+PASS=\"123456\"", 0},
      {"AT+WARC=256", 4},                           {"AT+ENCRY=-1", 4},
      {"AT+SSID", 3},                               {"AT+QMAC=1", 3},
      {"AT+NOPE=?", 2},                             {"garbage", 1},
  };
  ModuleEngine engine = Engine();
  for (const Case& c : cases) EXPECT_EQ(engine.handle(c.request).error, c.error) << c.request;
}

TEST(ModuleEngine, QueriesAnswerTheCanonicalSetText) {
  ModuleEngine engine = Engine();
  ASSERT_EQ(engine.handle("AT+BSSID=1,001A2B3C4D5E").error, 0);
  ASSERT_EQ(engine.handle("AT+CHLL=1f").error, 0);
  ASSERT_EQ(engine.handle("AT+ESPC=7f").error, 0);
  EXPECT_EQ(engine.handle("AT+BSSID=?").lines->front(), "1,001a2b3c4d5e");
  EXPECT_EQ(engine.handle("AT+CHLL=?").lines->front(), "001f");
  EXPECT_EQ(engine.handle("AT+ESPC=?").lines->front(), "7F");
  EXPECT_EQ(engine.handle("AT+QMAC=?").lines->front(), "024B01020304");
}

TEST(ModuleEngine, ResetRunsTheLoadProgrammeInUpdateMode) {
  ModuleEngine engine = Engine();
  EXPECT_TRUE(engine.echo());
  EXPECT_EQ(engine.handle("AT+E").error, 0);
  EXPECT_FALSE(engine.echo());
  EXPECT_EQ(engine.handle("AT+&UPDD=528").error, kErrNotAvailable);
  ASSERT_EQ(engine.handle("AT+&UPDM=!2").error, 0);
  EXPECT_TRUE(engine.handle("AT+Z").silent);
  EXPECT_FALSE(engine.echo());  // the load programme never echoes
  EXPECT_EQ(engine.programme(), Programme::Load);
  EXPECT_NE(engine.handle("AT+QVER=?").lines->front().find(",B"), std::string::npos);
  EngineReply block = engine.handle("AT+&UPDD=528");
  EXPECT_EQ(block.error, 0);
  EXPECT_EQ(block.expectRaw, 528u);
  // A block with a wrong CRC is reported by the answer to the next block's command.
  engine.receiveRaw(std::string(528, '\0'));
  EXPECT_EQ(engine.handle("AT+&UPDD=528").error, kErrBadParameter);
  EXPECT_EQ(engine.blocksAccepted(), 0);
}

}  // namespace
}  // namespace kitsim
