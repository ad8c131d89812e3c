#include "platform/ui/services.h"

#include <gtest/gtest.h>

namespace kit::ui {
namespace {

TEST(ParseFilterTest, ReadsTheBarSeparatedForms) {
  const auto cfg = ParseFilter("Config.cfg(*.cfg)|*.cfg||");
  ASSERT_EQ(cfg.size(), 1u);
  EXPECT_EQ(cfg[0].label, "Config.cfg(*.cfg)");
  EXPECT_EQ(cfg[0].patterns, std::vector<std::string>{"*.cfg"});

  const auto two = ParseFilter("Images|*.img;*.IMG|All|*.*||");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].patterns, (std::vector<std::string>{"*.img", "*.IMG"}));
  EXPECT_EQ(two[1].label, "All");

  const auto bare = ParseFilter("*txt");
  ASSERT_EQ(bare.size(), 1u);
  EXPECT_EQ(bare[0].patterns[0], "*txt");

  EXPECT_TRUE(ParseFilter("").empty());
  EXPECT_TRUE(ParseFilter("Label only|").empty());
}

TEST(WithDefaultExtensionTest, AddsOnlyWhenTheNameHasNone) {
  EXPECT_EQ(WithDefaultExtension("/tmp/Config", "cfg"), "/tmp/Config.cfg");
  EXPECT_EQ(WithDefaultExtension("/tmp/Config.txt", "cfg"), "/tmp/Config.txt");
  EXPECT_EQ(WithDefaultExtension("/tmp.d/Config", "cfg"), "/tmp.d/Config.cfg");
  EXPECT_EQ(WithDefaultExtension("/tmp/Config", ""), "/tmp/Config");
}

}  // namespace
}  // namespace kit::ui
