#include "printer_demo/core/date_stamp.h"

#include <gtest/gtest.h>

namespace j57 {
namespace {

TEST(DateStamp, LongAndShortFormsPadEveryField) {
  const LocalTime t{2026, 3, 7, 9, 5, 4};
  EXPECT_EQ(LongDateStamp(t), "2026/03/07    09:05:04 ");
  EXPECT_EQ(ShortDateStamp(t), "2026/03/07   09:05");
  const LocalTime late{1999, 12, 31, 23, 59, 59};
  EXPECT_EQ(LongDateStamp(late), "1999/12/31    23:59:59 ");
}

TEST(DateStamp, UsesTheRegionalSeparators) {
  const LocalTime t{2026, 3, 7, 19, 5, 4};
  const DateSeparators dotted{".", "."};
  EXPECT_EQ(LongDateStamp(t, dotted), "2026.03.07    19.05.04 ");
  EXPECT_EQ(ShortDateStamp(t, dotted), "2026.03.07   19.05");
}

}  // namespace
}  // namespace j57
