#include "config_tool/app/module_version.h"

#include <gtest/gtest.h>

namespace tarnwave {
namespace {

TEST(ModuleVersionTest, SplitByMarkers) {
  struct Case {
    const char* text;
    const char* hardware;
    const char* firmware;
    const char* release;
  };
  const Case cases[] = {
      {"H1.2.0,F3.0.7@ 2026-12-11", "1.2.0", "3.0.7", "2026-12-11"},
      {"H1.2.0,B1.0.2@ 2026-12-11", "1.2.0", "1.0.2", "2026-12-11"},  // load programme
      {"xyz H2.0 F1.1@:2009", "2.0", "1.1", "2009"},                   // leading text passed over
      {"F1.0", "", "1.0", ""},
      {"H@", "", "", ""},                                              // empty parts lose nothing
      {"", "", "", ""},
      {"no markers at all", "", "", ""},
  };
  for (const Case& c : cases) {
    const ModuleVersion v = SplitVersionText(c.text);
    EXPECT_EQ(v.hardware, c.hardware) << c.text;
    EXPECT_EQ(v.firmware, c.firmware) << c.text;
    EXPECT_EQ(v.releaseTime, c.release) << c.text;
  }
}

TEST(ModuleVersionTest, AddressWithDashes) {
  const std::uint8_t address[6] = {0x02, 0x4b, 0x00, 0xff, 0x10, 0x0a};
  EXPECT_EQ(FormatModuleAddress(address), "02-4B-00-FF-10-0A");
}

}  // namespace
}  // namespace tarnwave
