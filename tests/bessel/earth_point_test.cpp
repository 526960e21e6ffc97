#include "bessel/earth_point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "astro/sun_moon.h"
#include "bessel/daylight.h"
#include "support/path_fixture.h"

namespace vernier {
namespace {

using testing::PathFixture;
using testing::StraightShadowRecord;

constexpr double kRad = 0.017453292519943295;

TEST(PointConversion, LongitudeIsReducedOnceFromTheWest) {
  BesselianState s;
  s.sind = 0;
  s.cosd = 1;
  s.mu = 190;  // mu - H - 0.00417807 dT = 190: west 190 becomes east 170
  EXPECT_DOUBLE_EQ(ConvertFundamentalPoint(s, 0, 0, 0).lon, 170);
  s.mu = -190;  // no reduction on this side: east 190
  EXPECT_DOUBLE_EQ(ConvertFundamentalPoint(s, 0, 0, 0).lon, 190);
  // Delta T turns the Earth under the shadow: 1 / 0.00417807 s is one degree.
  s.mu = 100;
  EXPECT_NEAR(ConvertFundamentalPoint(s, 1 / 0.00417807, 0, 30).lon, -69, 1e-12);
}

TEST(PointConversion, LatitudeAndAltitude) {
  BesselianState s;
  s.d = 10 * kRad;
  s.sind = std::sin(s.d);
  s.cosd = std::cos(s.d);
  // The fundamental plane's sphere is scaled by the axis ratio: geodetic
  // latitude has tan(lat) = tan(phi1) / sqrt(1 - e^2).
  const GeoPoint p = ConvertFundamentalPoint(s, 0, 45 * kRad, 0);
  EXPECT_NEAR(std::tan(p.lat * kRad), 1 / std::sqrt(0.993305615), 1e-7);
  // The sphere form takes phi as the latitude; under the body it stands in
  // the zenith (a sine a hair past 1 must not turn into NaN).
  const GeoPoint under = ConvertGeocentricPoint(s, 0, 10 * kRad, 0);
  EXPECT_DOUBLE_EQ(under.lat, 10);
  EXPECT_NEAR(under.alt, 90, 1e-6);
  // 90 degrees of hour angle on the equator with the body on the equator: horizon.
  s.sind = 0;
  s.cosd = 1;
  EXPECT_NEAR(ConvertGeocentricPoint(s, 0, 0, 90).alt, 0, 1e-12);
}

TEST(FundamentalPoint, ReturnsTheConvertedPointWithTheBodysAltitude) {
  PathFixture f(StraightShadowRecord());
  EvaluateElements(f.elements, 0.5, f.state);
  const FoundPoint p = FundamentalPoint(f.ctx, 0.5, 69, 0.3, 20);
  ASSERT_EQ(p.status, Status::Ok);
  const GeoPoint expected = ConvertFundamentalPoint(f.state, 69, 0.3, 20);
  EXPECT_EQ(p.lon, expected.lon);
  EXPECT_EQ(p.lat, expected.lat);
  EXPECT_EQ(p.alt, expected.alt);
}

// Hour angles on the equator where the Sun stands near `altitude` at t.
double HourAngleWithSunAt(const PathFixture& f, double t, double deltaT, double altitude) {
  const EventEpoch epoch{f.elements.year, f.elements.month, f.elements.day, f.elements.t0};
  for (double h = -180; h < 180; h += 0.01) {
    const GeoPoint p = ConvertFundamentalPoint(f.state, deltaT, 0, h);
    if (std::fabs(SunAltitudeAtPoint(epoch, t, deltaT, p.lat, p.lon) - altitude) < 0.05) return h;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

TEST(FundamentalPoint, DaylightFromOneDegreeOfSunAndNeverForMarkers) {
  PathFixture f(StraightShadowRecord());
  EvaluateElements(f.elements, 0, f.state);
  const double high = HourAngleWithSunAt(f, 0, 69, 1.5);
  const double low = HourAngleWithSunAt(f, 0, 69, 0.5);
  ASSERT_TRUE(std::isfinite(high));
  ASSERT_TRUE(std::isfinite(low));

  const FoundPoint day = FundamentalPoint(f.ctx, 0, 69, 0, high);
  const FoundPoint night = FundamentalPoint(f.ctx, 0, 69, 0, low);
  ASSERT_EQ(day.status, Status::Ok);
  ASSERT_EQ(night.status, Status::Ok);
  EXPECT_TRUE(day.daylight);
  EXPECT_FALSE(night.daylight);

  // The marker form has no daylight test.
  const FoundPoint marker = FundamentalMarkerPoint(f.ctx, 69, 0, high);
  ASSERT_EQ(marker.status, Status::Ok);
  EXPECT_FALSE(marker.daylight);
  EXPECT_EQ(marker.lon, day.lon);
  EXPECT_EQ(marker.lat, day.lat);
}

TEST(FundamentalPoint, NonFiniteArgumentsAreNoPoint) {
  PathFixture f(StraightShadowRecord());
  EvaluateElements(f.elements, 0, f.state);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(FundamentalPoint(f.ctx, 0, 69, nan, 10).status, Status::Failed);
  EXPECT_EQ(FundamentalPoint(f.ctx, 0, 69, 0.1, nan).status, Status::Failed);
  EXPECT_EQ(FundamentalMarkerPoint(f.ctx, 69, nan, 10).status, Status::Failed);
  EXPECT_EQ(GeocentricPoint(f.ctx, 0, nan, 0.1, 10).status, Status::Failed);
  EXPECT_EQ(PlanePoint(f.ctx, 0, 69, 2, 2, 0).status, Status::Failed);  // off the sphere: asin > 1
}

TEST(PathPointSunAltitude, GivesExactlyWhatSunAltitudeAtPointGivesAndTheSameDaylight) {
  SunAtInstant sun;
  for (double year : {-500.0, 1998.0, 2024.0, 3100.0}) {
    const EventEpoch epoch{year, 4, 8, 18};
    for (double t = -3; t <= 3; t += 0.37) {
      for (double lat = -89; lat <= 89; lat += 17.3) {
        for (double lon = -200; lon <= 200; lon += 23.9) {
          ASSERT_EQ(PathPointSunAltitude(sun, epoch, t, 70.6, lat, lon),
                    SunAltitudeAtPoint(epoch, t, 70.6, lat, lon))
              << year << " " << t << " " << lat << " " << lon;
        }
      }
    }
  }
  // The daylight decision is the altitude compared with 1 degree, also for
  // points a hair either side of it (found by bisection in hour angle).
  const EventEpoch epoch{2024, 4, 8, 18};
  int nearLimit = 0;
  for (double lat = -60; lat <= 60; lat += 7.5) {
    double lo = -100, hi = 80;  // the Sun low at lo, high at hi for these dates
    const auto alt = [&](double lon) { return SunAltitudeAtPoint(epoch, 0.3, 70.6, lat, lon); };
    if ((alt(lo) - 1) * (alt(hi) - 1) > 0) continue;
    for (int i = 0; i < 200; ++i) {
      const double mid = (lo + hi) / 2;
      ((alt(mid) - 1) * (alt(lo) - 1) > 0 ? lo : hi) = mid;
    }
    for (double lon : {lo, hi, lo - 1e-9, hi + 1e-9, lo - 1e-6, hi + 1e-6}) {
      const double phi = lat * kRad;
      EXPECT_EQ(InDaylight(sun, epoch, 0.3, 70.6, std::sin(phi), std::cos(phi), lon), alt(lon) > 1)
          << lat << " " << lon;
      ++nearLimit;
    }
  }
  EXPECT_GT(nearLimit, 30);
  for (double lat = -89; lat <= 89; lat += 3.1) {
    for (double lon = -180; lon <= 180; lon += 2.3) {
      const double phi = lat * kRad;
      ASSERT_EQ(InDaylight(sun, epoch, -1.2, 70.6, std::sin(phi), std::cos(phi), lon),
                SunAltitudeAtPoint(epoch, -1.2, 70.6, lat, lon) > 1);
    }
  }

  // A new Delta T or event is a new instant.
  const EventEpoch a{2024, 4, 8, 18}, b{2024, 4, 9, 18};
  EXPECT_EQ(PathPointSunAltitude(sun, a, 0, 60, 10, 10), SunAltitudeAtPoint(a, 0, 60, 10, 10));
  EXPECT_EQ(PathPointSunAltitude(sun, b, 0, 60, 10, 10), SunAltitudeAtPoint(b, 0, 60, 10, 10));
}

// The trace's daylight test first takes the Sun interpolated between two
// exact places; it must decide exactly as the Sun computed at each instant,
// also for points a hair either side of the 1 degree limit, in all eras.
TEST(InDaylight, TheInterpolatedSunDecidesAsTheExactOne) {
  const auto trigOf = [](double latDeg, double lonDeg) {
    PointTrig p;
    p.known = true;
    p.sinLat = std::sin(latDeg * kRad);
    p.cosLat = std::cos(latDeg * kRad);
    p.sinLon = std::sin(lonDeg * kRad);
    p.cosLon = std::cos(lonDeg * kRad);
    return p;
  };
  const double sinLimit = std::sin(1 * kRad);
  int interpolated = 0, nearLimit = 0;
  for (double year : {-2900.0, 1600.0, 2024.0, 3900.0}) {
    const EventEpoch epoch{year, 6, 21, 12};
    SunAtInstant traced;
    for (int i = -600; i <= 600; ++i) {
      const double t = i / 600.0;  // the trace's 0.1-minute instants over two hours
      SunAtInstant exact;
      PathPointSunAltitude(exact, epoch, t, 60, 0, 0);
      std::vector<PointTrig> points;
      for (double lat = -80; lat <= 80; lat += 40)
        for (double lon = -170; lon < 180; lon += 50) points.push_back(trigOf(lat, lon));
      // Points where the exact cosine of the zenith distance is sin 1 degree
      // plus eps: the hour angle there solves the cosine formula.
      for (double lat : {-50.0, 0.0, 35.0}) {
        for (double eps : {-3e-6, -1.1e-6, -2e-9, -5e-10, 0.0, 5e-10, 2e-9, 1.1e-6, 3e-6}) {
          const double sinLat = std::sin(lat * kRad), cosLat = std::cos(lat * kRad);
          const double c =
              (sinLimit + eps - sinLat * exact.sinDec) / (cosLat * exact.cosDec);
          if (std::fabs(c) > 1) continue;
          const double hourAtZero = std::atan2(exact.sinHourAtZero, exact.cosHourAtZero) / kRad;
          for (double sign : {1.0, -1.0}) {
            points.push_back(trigOf(lat, sign * std::acos(c) / kRad - hourAtZero));
            ++nearLimit;
          }
        }
      }
      for (const PointTrig& p : points) {
        SunAtInstant fresh;  // a new instant every time: the exact Sun
        ASSERT_EQ(InDaylight(traced, epoch, t, 60, p), InDaylight(fresh, epoch, t, 60, p))
            << year << " t " << t << " lat " << std::asin(p.sinLat) / kRad;
      }
      if (traced.span.interpolated && traced.span.t == t) ++interpolated;
    }
  }
  EXPECT_GT(interpolated, 4000);
  EXPECT_GT(nearLimit, 50000);
}

}  // namespace
}  // namespace vernier
