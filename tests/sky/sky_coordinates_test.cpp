#include "sky/sky_coordinates.h"

#include <gtest/gtest.h>

#include "astro/time.h"

namespace vernier {
namespace {

TEST(SkyCoordinates, JulianDatesOfCivilInstants) {
  // Universal time (zone of longitude 0): J2000.0 and the examples 7.a and
  // 7.b of Astronomical Algorithms (1957 October 4.81; 333 January 27.5,
  // Julian calendar) and its table entry -1000 July 12.5.
  EXPECT_DOUBLE_EQ(SkyJulianDate(2000, 1, 1, 12, 1, 0), 2451545.0);
  EXPECT_NEAR(SkyJulianDate(1957, 10, 4, 0.81 * 24, 1, 0), 2436116.31, 1e-6);
  EXPECT_DOUBLE_EQ(SkyJulianDate(333, 1, 27, 12, 1, 0), 1842713.0);
  EXPECT_DOUBLE_EQ(SkyJulianDate(-1000, 7, 12, 12, 1, 0), 1356001.0);
  EXPECT_DOUBLE_EQ(SkyJulianDate(1582, 10, 15, 0, 1, 0), 2299160.5);

  // Zone standard time: 21h at 135° E (zone +9) and 11h at 7.5° W (zone -1)
  // are both 12h UT.
  EXPECT_DOUBLE_EQ(SkyJulianDate(2000, 1, 1, 21, 1, 135), 2451545.0);
  EXPECT_DOUBLE_EQ(SkyJulianDate(2000, 1, 1, 11, 1, -7.5), 2451545.0);
  // Local mean time with zone flag 0.
  EXPECT_NEAR(SkyJulianDate(2000, 1, 1, 12 + 139.767 / 15, 0, 139.767), 2451545.0, 1e-9);
}

// The horizon's hour angle comes from the program's one sidereal time: a
// body whose right ascension is the local sidereal time stands on the
// meridian (azimuth 0) at every epoch of the element files, in east and west
// longitudes alike. A sidereal time off by seconds moves it off by arcminutes.
TEST(SkyCoordinates, HorizonUsesTheProgramsSiderealTime) {
  for (double year : {-3000.0, 1000.0, 2000.5, 3999.0}) {
    for (double longitude : {139.767, -77.0656, 0.0}) {
      const double jd = SkyJulianDate(year, 3, 1, 12, 1, longitude);
      const double ra = 15 * LocalSiderealTime(JulianCenturies(jd), -longitude);
      const HorizonPosition p = EquatorialToHorizon(jd, ra, 10, 35, longitude);
      EXPECT_NEAR(p.azimuth, 0, 1e-6) << year << " " << longitude;
      EXPECT_NEAR(p.altitude, 65, 1e-6) << year << " " << longitude;
    }
  }
  // Astronomical Algorithms, example 12.a: 13h 10m 46.3668s at Greenwich on
  // 1987 April 10, 0h UT; a body at that right ascension culminates there.
  const double ra = (13 + 10 / 60.0 + 46.3668 / 3600) * 15;
  EXPECT_NEAR(EquatorialToHorizon(2446895.5, ra, 0, 35, 0).azimuth, 0, 1e-4);
}

TEST(SkyCoordinates, HorizonCoordinatesMatchThePublishedExample) {
  // Astronomical Algorithms, example 13.b: Venus at the US Naval Observatory
  // (77° 03′ 56″ W, 38° 55′ 17″ N) on 1987 April 10 at 19h 21m UT,
  // α 23h 09m 16.641s, δ -6° 43′ 11.61″: azimuth 68.0337° from the south
  // westward, altitude 15.1249° (with apparent sidereal time; the mean one
  // differs by 0.3 s).
  const HorizonPosition h = EquatorialToHorizon(
      2446896.30625, (23 + 9 / 60.0 + 16.641 / 3600) * 15, -(6 + 43 / 60.0 + 11.61 / 3600),
      38 + 55 / 60.0 + 17 / 3600.0, -(77 + 3 / 60.0 + 56 / 3600.0));
  EXPECT_NEAR(h.azimuth, 68.0337, 0.005);
  EXPECT_NEAR(h.altitude, 15.1249, 0.005);

  // A body on the meridian south of the zenith stands at azimuth 0 and
  // altitude 90 - φ + δ; one on the celestial pole at the observer's latitude.
  const double jd = 2451545.0;
  const double ra = 15 * LocalSiderealTime(JulianCenturies(jd), -139.767);
  const HorizonPosition south = EquatorialToHorizon(jd, ra, -16.75, 35.681, 139.767);
  EXPECT_NEAR(south.azimuth, 0, 1e-9);
  EXPECT_NEAR(south.altitude, 90 - 35.681 - 16.75, 1e-9);
  EXPECT_NEAR(EquatorialToHorizon(jd, 123, 90, 35.681, 139.767).altitude, 35.681, 1e-9);
}

TEST(SkyCoordinates, EclipticToEquatorialMatchesThePublishedExample) {
  // Astronomical Algorithms, example 13.a: Pollux, λ 113.215630°, β 6.684170°,
  // obliquity of J2000.0: α 116.328942°, δ 28.026183°.
  const EquatorialPlace p = EclipticToEquatorialAtDate(2451545.0, 113.215630, 6.684170);
  EXPECT_NEAR(p.rightAscension, 116.328942, 1e-4);
  EXPECT_NEAR(p.declination, 28.026183, 1e-4);
  // Right ascensions come out in [0, 360).
  const EquatorialPlace q = EclipticToEquatorialAtDate(2451545.0, 350, -5);
  EXPECT_GE(q.rightAscension, 0);
  EXPECT_LT(q.rightAscension, 360);
  EXPECT_GT(q.rightAscension, 340);
}

}  // namespace
}  // namespace vernier
