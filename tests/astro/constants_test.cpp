#include "astro/constants.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vernier {
namespace {

// The rounded values some figures are defined with are the exact values
// rounded to the stated number of decimal places, not digits mistyped on the
// way: each is compared with its exact counterpart rounded here.
TEST(Constants, RoundedFiguresAreTheExactValuesRounded) {
  struct Case {
    const char* name;
    double value, exact;
    int places;
  };
  const Case cases[] = {
      {"kMapPi", kMapPi, kPi, 10},
      {"kMapTwoPi", kMapTwoPi, kTwoPi, 10},
      {"kMapHalfPi", kMapHalfPi, kPi / 2, 10},
      {"kMapQuarterPi", kMapQuarterPi, kPi / 4, 10},
      {"kMapDegToRad", kMapDegToRad, kDegToRad, 11},
      {"kProfileDegToRad", kProfileDegToRad, kDegToRad, 10},
      {"kProfilePi", kProfilePi, kPi, 8},
      {"kRateDegToRad", kRateDegToRad, kDegToRad, 8},
      {"kLimitLineRadToDeg", kLimitLineRadToDeg, kRadToDeg, 5},
      {"kObserverAxisRatio", kObserverAxisRatio, kEarthAxisRatio, 8},
      {"kEllipsoidFactor", kEllipsoidFactor, 1 / std::sqrt(1 - kEarthE2), 8},
      {"kDeltaTRotation", kDeltaTRotation, 1.002738 * 15 / 3600, 8},
  };
  for (const Case& c : cases) {
    const double scale = std::pow(10.0, c.places);
    EXPECT_EQ(c.value, std::round(c.exact * scale) / scale) << c.name;
    EXPECT_NE(c.value, c.exact) << c.name << " is exact: it needs no constant of its own";
  }
}

// The Earth model: the radius in kilometres and metres, and the axis ratio
// against e^2 (b/a = sqrt(1 - e^2) to the precision of the figures).
TEST(Constants, EarthModelAgrees) {
  EXPECT_NEAR(kEarthRadiusKm * 1000, kEarthRadiusMetres, 1e-6);
  EXPECT_NEAR(kEarthAxisRatio, std::sqrt(kEarthOneMinusE2), 1e-9);
}

}  // namespace
}  // namespace vernier
