#include "astro/time.h"

#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>

#include "astro/constants.h"

namespace vernier {
namespace {

// Delta T (s) every 50 years. The table is indexed from the year -4000, but no
// epoch before -800 reads it, so only the entries from -800 (index 64) on are
// carried. The last entry is the value for 1650.
constexpr int kAncientFirstIndex = 64;
constexpr double DeltaTAncient[] = {
    21946, 21180, 20400, 19600, 18800, 17995, 17190, 16360, 15530, 14805,  // -800
    14080, 13435, 12790, 12215, 11640, 11110, 10580, 10090, 9600,  9120,   // -300
    8640,  8160,  7680,  7190,  6700,  6205,  5710,  5225,  4740,  4275,   // 200
    3810,  3385,  2960,  2580,  2200,  1885,  1570,  1330,  1090,  915,    // 700
    740,   615,   490,   405,   320,   260,   200,   160,   120,   124,    // 1200
};

// Delta T (s) for each year from 1620 to 2030.
constexpr double DeltaTYearly[] = {
    124,     119,     115,     110,     106,     102,     98,      95,      91,      88,       // 1620
    85,      82,      79,      77,      74,      72,      70,      67,      65,      63,       // 1630
    62,      60,      58,      57,      55,      54,      53,      51,      50,      49,       // 1640
    48,      47,      46,      45,      44,      43,      42,      41,      40,      38,       // 1650
    37,      36,      35,      34,      33,      32,      31,      30,      28,      27,       // 1660
    26,      25,      24,      23,      22,      21,      20,      19,      18,      17,       // 1670
    16,      15,      14,      14,      13,      12,      12,      11,      11,      10,       // 1680
    10,      10,      9,       9,       9,       9,       9,       9,       9,       9,        // 1690
    9,       9,       9,       9,       9,       9,       9,       9,       10,      10,       // 1700
    10,      10,      10,      10,      10,      10,      10,      11,      11,      11,       // 1710
    11,      11,      11,      11,      11,      11,      11,      11,      11,      11,       // 1720
    11,      11,      11,      11,      12,      12,      12,      12,      12,      12,       // 1730
    12,      12,      12,      12,      13,      13,      13,      13,      13,      13,       // 1740
    13,      14,      14,      14,      14,      14,      14,      14,      15,      15,       // 1750
    15,      15,      15,      15,      15,      16,      16,      16,      16,      16,       // 1760
    16,      16,      16,      16,      16,      17,      17,      17,      17,      17,       // 1770
    17,      17,      17,      17,      17,      17,      17,      17,      17,      17,       // 1780
    17,      17,      16,      16,      16,      16,      15,      15,      14,      14,       // 1790
    13.7,    13.4,    13.1,    12.9,    12.7,    12.6,    12.5,    12.5,    12.5,    12.5,     // 1800
    12.5,    12.5,    12.5,    12.5,    12.5,    12.5,    12.5,    12.4,    12.3,    12.2,     // 1810
    12,      11.7,    11.4,    11.1,    10.6,    10.2,    9.6,     9.1,     8.6,     8,        // 1820
    7.5,     7,       6.6,     6.3,     6,       5.8,     5.7,     5.6,     5.6,     5.6,      // 1830
    5.7,     5.8,     5.9,     6.1,     6.2,     6.3,     6.5,     6.6,     6.8,     6.9,      // 1840
    7.1,     7.2,     7.3,     7.4,     7.5,     7.6,     7.7,     7.7,     7.8,     7.8,      // 1850
    7.88,    7.82,    7.54,    6.97,    6.4,     6.02,    5.41,    4.1,     2.92,    1.82,     // 1860
    1.61,    0.1,     -1.02,   -1.28,   -2.69,   -3.24,   -3.64,   -4.54,   -4.71,   -5.11,    // 1870
    -5.4,    -5.42,   -5.2,    -5.46,   -5.46,   -5.79,   -5.63,   -5.64,   -5.8,    -5.66,    // 1880
    -5.87,   -6.01,   -6.19,   -6.64,   -6.44,   -6.47,   -6.09,   -5.76,   -4.66,   -3.74,    // 1890
    -2.72,   -1.54,   -0.02,   1.24,    2.64,    3.86,    5.37,    6.14,    7.75,    7.75,     // 1900
    10.46,   11.53,   13.36,   14.65,   16.01,   17.2,    18.24,   19.06,   20.25,   20.95,    // 1910
    21.16,   22.25,   22.41,   23.03,   23.49,   23.62,   23.86,   24.49,   24.34,   24.08,    // 1920
    24.02,   24,      23.87,   23.95,   23.86,   23.93,   23.73,   23.92,   23.96,   24.02,    // 1930
    24.33,   24.83,   25.3,    25.7,    26.24,   26.77,   27.28,   27.78,   28.25,   28.71,    // 1940
    29.15,   29.57,   29.97,   30.36,   30.72,   31.07,   31.35,   31.68,   32.18,   32.68,    // 1950
    33.15,   33.59,   34,      34.47,   35.03,   35.73,   36.54,   37.43,   38.29,   39.2,     // 1960
    40.18,   41.17,   42.23,   43.37,   44.4848, 45.4765, 46.4582, 47.5179, 48.5348, 49.5857,  // 1970
    50.5384, 51.3787, 52.1673, 52.9565, 53.7872, 54.3414, 54.8725, 55.3224, 55.8182, 56.2989,  // 1980
    56.8561, 57.5653, 58.3081, 59.1204, 59.9846, 60.7849, 61.6271, 62.2943, 62.9664, 63.4666,  // 1990
    63.8272, 64.0916, 64.3001, 64.4723, 64.5724, 64.6888, 64.8459, 65.1447, 65.4563, 65.7778,  // 2000
    66.0705, 66.3232, 66.602,  66.9074, 67.2805, 67.6422, 68.1023, 68.593,  68.9672, 69.2186,  // 2010
    69.3613, 69.3607, 69.2938, 69.29,   69.54,   69.79,   70.04,   70.29,   70.54,   70.79,    // 2020
    71.04,                                                                                   // 2030
};

// Delta T (s) every ten years from 2000 to 2100.
constexpr double DeltaTNearFuture[] = {63.83, 66.07, 69.36, 71.0,  74.3, 78.3,
                                       83.3,  90.1,  98.3,  106.8, 115.0};

static_assert(std::size(DeltaTAncient) == 50);
static_assert(std::size(DeltaTYearly) == 411);
static_assert(std::size(DeltaTNearFuture) == 11);

// Linear interpolation at entry k with fraction f. A zero fraction, or the
// last entry, gives the entry itself so nothing is read past the table's end.
template <std::size_t N>
double Interpolate(const double (&table)[N], double k, double f) {
  const auto i = static_cast<std::size_t>(k);
  if (f == 0 || i + 1 >= N) return table[i];
  return table[i] + (table[i + 1] - table[i]) * f;
}

// The 50-year table at a year in [-800, 1620).
double AncientDeltaT(double y) {
  const double k = std::trunc((y + 4000) / 50);
  const double f = (y + 4000) / 50 - k;
  return Interpolate(DeltaTAncient, k - kAncientFirstIndex, f);
}

}  // namespace

double JulianDate(double year, double month, double day, double hour, double lonTerm) {
  double y = year;
  double m = month;
  if (m < 3) {
    y -= 1;
    m += 12;
  }
  double jd = day + std::floor(30.59 * (m - 2)) + std::floor(365.25 * y) + hour / 24 +
              lonTerm / 360 + 1721086.5;
  // The switch sits ten days before the calendar reform (2299160.5) on purpose.
  if (jd > 2299150) jd += std::floor(y / 400) - std::floor(y / 100) + 2;
  return jd;
}

double JulianCenturies(double jd) { return (jd - kJ2000) / kDaysPerJulianCentury; }

double LocalSiderealTime(double T, double lonWest) {
  const double theta =
      280.46061837 + T * (13185000.770053742 + T * (0.000387933 - T / 38710000));
  double lst = ModReal((theta - lonWest) / 15, 24);
  if (lst < 0) lst += 24;
  return lst;
}

double DeltaT(double T) {
  double y = 2000 + 100 * T;
  // A NaN epoch matches no case and stays NaN.
  double dt = std::numeric_limits<double>::quiet_NaN();
  // The cases are tested in turn, as disjoint ranges of the (possibly mirrored) year.
  if (y > 2030 && y < 2100) {
    const double k = std::trunc((y - 2000) / 10);
    dt = Interpolate(DeltaTNearFuture, k, (y - 2000) / 10 - k);
  }
  if (y >= 1620 && y <= 2030) {
    const double k = std::trunc(y - 1620);
    dt = Interpolate(DeltaTYearly, k, y - 1620 - k);
  }
  if (y >= -800 && y < 1620) dt = AncientDeltaT(y);
  if (y >= 2100 && y <= 3205) {
    // Mirror the far future into 455..1560; the parabola's tests below see
    // the mirrored year and so leave this value alone.
    y = 3660 - y;
    dt = AncientDeltaT(y) - (22 + 15);
  }
  if (y < -800 || y > 3205) {
    const double u = (y - 1820) / 100;
    dt = -20 + 32 * u * u;
  }
  return dt;
}

double ModReal(double x, double m) {
  const double r = m * (x / m - std::floor(x / m));
  // A tiny negative x rounds x/m - floor(x/m) up to 1; the result must stay below m.
  return r >= m ? 0.0 : r;
}

double IntegerPart(double x) { return std::trunc(x); }

double Mod2Pi(double x) {
  const double r = x - kTwoPi * std::floor(x / kTwoPi);
  return r >= kTwoPi ? 0.0 : r;
}

double Wrap2Pi(double x) {
  const double r = x - kTwoPi * std::floor(x / kTwoPi + 0.5);
  return r >= kPi ? r - kTwoPi : r;
}

double Polynomial(const double* c, int n, double x) {
  if (n < 0) return 0;
  double sum = c[n];
  for (int i = n - 1; i >= 0; --i) sum = sum * x + c[i];
  return sum;
}

}  // namespace vernier
