#include "astro/sexagesimal.h"

#include <gtest/gtest.h>

namespace vernier {
namespace {

TEST(Sexagesimal, HoursMinutesSecondsTruncateAndWrapOnce) {
  auto a = SplitHoursMinSec(24.5);  // past midnight
  EXPECT_EQ(a.hours, 0);
  EXPECT_EQ(a.minutes, 30);
  EXPECT_NEAR(a.seconds, 0, 1e-9);
  auto b = SplitHoursMinSec(-0.25);  // before midnight
  EXPECT_EQ(b.hours, 23);
  EXPECT_EQ(b.minutes, 45);
  EXPECT_NEAR(b.seconds, 0, 1e-9);
  auto c = SplitHoursMinSec(12.999999);  // never rounded up to 13:00:00
  EXPECT_EQ(c.hours, 12);
  EXPECT_EQ(c.minutes, 59);
  EXPECT_NEAR(c.seconds, 59.9964, 1e-6);
  // One wrap each way only; 23.95 h keeps its hour.
  EXPECT_EQ(SplitHoursMinSec(48.25).hours, 24);
  EXPECT_EQ(SplitHoursMinSec(-24.5).hours, -1);
  EXPECT_EQ(SplitHoursMinSec(23.95).hours, 23);
}

TEST(Sexagesimal, HoursAndMinutesKeepFractionalMinutes) {
  auto a = SplitHours(25.75);
  EXPECT_EQ(a.hours, 1);
  EXPECT_NEAR(a.minutes, 45, 1e-9);
  auto b = SplitHours(-1.5);
  EXPECT_EQ(b.hours, 22);
  EXPECT_NEAR(b.minutes, 30, 1e-9);
}

TEST(Sexagesimal, DegreesCarryTheSignOnBothParts) {
  auto west = SplitDegrees(-135.25);
  EXPECT_EQ(west.degrees, -135);
  EXPECT_NEAR(west.minutes, -15, 1e-9);
  auto east = SplitDegrees(35.5);
  EXPECT_EQ(east.degrees, 35);
  EXPECT_NEAR(east.minutes, 30, 1e-9);
  auto small = SplitDegrees(-0.5);  // under one degree: the sign sits on the minutes
  EXPECT_EQ(small.degrees, 0);
  EXPECT_NEAR(small.minutes, -30, 1e-9);
}

}  // namespace
}  // namespace vernier
