#include "base/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace vernier {
namespace {

// FormatFixed stands in for printf's "%*.*f": it must give the same text for
// every number, ties and paddings included.
TEST(FormatFixed, GivesPrintfsTextForEveryNumber) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {0.0,   -0.0,  0.05,  0.25,   0.35,     2.5,    59.95, 59.96, -1.0,
                           -0.04, 12.0,  23.0,  9.999,  1e300,    -1e-300, inf,   -inf,
                           std::numeric_limits<double>::quiet_NaN(), 123456789.125};
  for (double v : values) {
    for (int width : {0, 2, 4, 12}) {
      for (int precision : {0, 1, 3}) {
        EXPECT_EQ(FormatFixed(v, width, precision), Format("%*.*f", width, precision, v))
            << v << " " << width << " " << precision;
      }
    }
  }
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> minutes(-1, 61);
  for (int i = 0; i < 200000; ++i) {
    // Steps of a twentieth hit the ties of one decimal often.
    const double v = i % 2 ? minutes(random) : std::round(minutes(random) * 20) / 20;
    ASSERT_EQ(FormatFixed(v, 4, 1), Format("%4.1f", v)) << v;
    ASSERT_EQ(FormatFixed(v, 2, 0), Format("%2.0f", v)) << v;
  }
}

}  // namespace
}  // namespace vernier
