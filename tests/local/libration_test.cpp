#include "local/libration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "astro/time.h"
#include "ephemeris/element_file.h"
#include "local/lunar_tables.h"

namespace vernier {
namespace {

constexpr double kRad = 0.017453292519943295;
constexpr double kDeg = 57.29577951308232;

TEST(Libration, MoonPositionMatchesThePublishedWorkedExample) {
  // Astronomical Algorithms (Meeus), 2nd ed., example 47.a: 1992 April 12, 0h TD.
  const double T = (2448724.5 - 2451545) / 36525;
  LunarEclipticPosition moon = MoonPositionELP(T);
  // The mean elongation and anomalies here carry slightly different constants
  // from that example's: 5e-6 degrees apart.
  EXPECT_NEAR(moon.longitude * kDeg, 133.162655, 1e-5);
  EXPECT_NEAR(moon.latitude * kDeg, -3.229126, 2e-6);
  EXPECT_NEAR(moon.distance, 368409.7, 0.1);
}

TEST(Libration, NutationAndObliquityMatchThePublishedWorkedExample) {
  // Astronomical Algorithms, example 22.a: 1987 April 10, 0h TD.
  const double T = (2446895.5 - 2451545) / 36525;
  Nutation n = NutationIAU1980(T);
  EXPECT_NEAR(n.longitude / 4.84813681109536e-6, -3.788, 0.001);
  EXPECT_NEAR(n.obliquity / 4.84813681109536e-6, 9.443, 0.001);
  EXPECT_NEAR(MeanObliquity(T) * kDeg, 23 + 26 / 60.0 + 27.407 / 3600, 0.001 / 3600);
}

TEST(Libration, FundamentalArgumentsAtJ2000AreTheirConstantTerms) {
  FundamentalArgumentSet a = FundamentalArguments(0);
  EXPECT_NEAR(a.lp, 218.3164591 * kRad, 1e-12);
  EXPECT_NEAR(a.d, 297.8502042 * kRad, 1e-12);
  EXPECT_NEAR(a.m, 357.5291092 * kRad, 1e-12);
  EXPECT_NEAR(a.mp, 134.9634114 * kRad, 1e-12);
  EXPECT_NEAR(a.f, 93.2720993 * kRad, 1e-12);
  EXPECT_NEAR(a.omega, 125.044555 * kRad, 1e-12);
  EXPECT_EQ(a.e, 1);
}

TEST(Libration, CoordinateRotationsAreInverse) {
  const double eps = 23.44 * kRad;
  for (double lambda = 0.1; lambda < 6.2; lambda += 0.7)
    for (double beta = -1.4; beta < 1.5; beta += 0.35) {
      EquatorialPosition q = EclipticToEquatorial(lambda, beta, eps);
      EXPECT_GE(q.rightAscension, 0);
      EclipticPosition back = EquatorialToEcliptic(q.rightAscension, q.declination, eps);
      EXPECT_NEAR(back.longitude, lambda, 1e-12);
      EXPECT_NEAR(back.latitude, beta, 1e-12);
    }
}

TEST(Libration, AtTheSubLunarPointTheLibrationIsTheGeocentricOne) {
  // Astronomical Algorithms, example 53.a: 1992 April 12, 0h TD: optical
  // l′ = −1.206°, b′ = +4.194°; physical l″ = −0.025°, b″ = +0.006°; total
  // l = −1.23°, b = +4.20°; position angle of the axis P = 15.08°. Seen from
  // the point under the Moon, the topocentric direction is the geocentric one.
  const double T = (2448724.5 - 2451545) / 36525;
  LunarEclipticPosition moon = MoonPositionELP(T);
  const double eps0 = MeanObliquity(T);
  EquatorialPosition q = EclipticToEquatorial(moon.longitude, moon.latitude, eps0);
  const double theta = Mod2Pi((280.46061837 + 13185000.770053742 * T + 0.000387933 * T * T -
                               T * T * T / 38710000) * kRad) +
                       NutationIAU1980(T).longitude * std::cos(eps0);
  const double east = q.rightAscension - theta;  // the sub-lunar point
  const double lat = std::atan(std::tan(q.declination) / (0.9966471868221031 * 0.9966471868221031));

  char text[1024] = {};
  std::FILE* out = fmemopen(text, sizeof text - 1, "w");
  LibrationResult r = ComputeLibration(1992, 4, 12, 0, 0, east, lat, 0, out);
  std::fclose(out);
  EXPECT_NEAR(r.opticalL * kDeg, -1.206, 0.002);
  EXPECT_NEAR(r.opticalB * kDeg, 4.194, 0.002);
  EXPECT_NEAR(r.physicalL * kDeg, -0.025, 0.002);
  EXPECT_NEAR(r.physicalB * kDeg, 0.006, 0.002);
  EXPECT_NEAR(r.totalL * kDeg, -1.23, 0.005);
  EXPECT_NEAR(r.totalB * kDeg, 4.20, 0.005);
  // The axis angle divides by the cosine of the Moon's ecliptic latitude
  // (−3.23°) where the example divides by that of the libration (4.20°):
  // 0.1 % of the angle apart.
  EXPECT_NEAR(r.positionAngle * kDeg, 15.08, 0.02);
  EXPECT_EQ(std::string(text),
            "  Optical libration :  l' = -1.206゜, b' =  4.194゜,\n"
            "  Physical libration : l\" = -0.025゜, b\" =  0.006゜,\n"
            "  Total libration :    l  = -1.231゜, b  =  4.200゜,\n"
            "  Position angle : 15.067゜\n");
}

// The date is read in the calendar the records are written in: the records
// of the ten days before the reform carry Gregorian dates (1582-10-05 to
// 10-14), so such a record gives the libration of its own instant, the one
// reached from a later date by counting hours back. Read as Julian dates they
// fell ten days late.
TEST(Libration, DatesAreReadInTheRecordsCalendar) {
  for (double jd : {2299150.5, 2299155.5, 2299160.5, 2378496.5}) {
    const RecordDate date = ProgramCalendarDate(jd, 0);
    const LibrationResult own = ComputeLibration(date.year, date.month, date.day, 6, 0, 0.5, 0.6, 0);
    const RecordDate later = ProgramCalendarDate(jd + 20, 0);
    const LibrationResult counted =
        ComputeLibration(later.year, later.month, later.day, 6 - 20 * 24, 0, 0.5, 0.6, 0);
    EXPECT_NEAR(own.totalL, counted.totalL, 1e-9) << date.year << "-" << date.month << "-" << date.day;
    EXPECT_NEAR(own.totalB, counted.totalB, 1e-9) << date.year << "-" << date.month << "-" << date.day;
    EXPECT_NEAR(own.positionAngle, counted.positionAngle, 1e-9) << date.month << "-" << date.day;
  }
}

TEST(Libration, ObserverParallaxShiftsTheLibrationByAboutTheMoonsParallax) {
  // Moving the observer 90° around the Earth from the sub-lunar point turns
  // the direction by the horizontal parallax (about 1°): the libration in
  // the direction of the move changes by about that much.
  const double T = (2448724.5 - 2451545) / 36525;
  LibrationResult centre = ComputeLibration(1992, 4, 12, 0, 0, -0.5, 0.1, 0, nullptr);
  LibrationResult north = ComputeLibration(1992, 4, 12, 0, 0, -0.5, 0.1 + 1.2, 0, nullptr);
  const double parallax = std::asin(6378.14 / MoonPositionELP(T).distance) * kDeg;
  const double shift = std::hypot(north.totalL - centre.totalL, north.totalB - centre.totalB) * kDeg;
  EXPECT_GT(shift, 0.5 * parallax);
  EXPECT_LT(shift, 1.1 * parallax);
}

TEST(Libration, TheSeriesFitTheirMultipleTables) {
  // The multiple-angle tables hold multiples up to 4 of each argument.
  for (const auto& t : kLunarLongitudeTerms)
    EXPECT_TRUE(std::abs(t.d) <= 4 && std::abs(t.m) <= 2 && std::abs(t.mp) <= 4 && std::abs(t.f) <= 4);
  for (const auto& t : kNutationTerms)
    EXPECT_TRUE(std::abs(t.mp) <= 4 && std::abs(t.m) <= 4 && std::abs(t.f) <= 4 &&
                std::abs(t.d) <= 4 && std::abs(t.omega) <= 4);
}

}  // namespace
}  // namespace vernier
