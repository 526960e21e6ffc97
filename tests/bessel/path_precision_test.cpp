// Every point a trace reports against the plain computation: each finder's
// formulas as written, one libm call per angle (inverse functions and back),
// the conversion of the fundamental plane and the Sun's altitude through the
// sidereal time. The finders take their trigonometry from ratios and share it;
// their points must agree to 1e-9 degree and their daylight test exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "bessel/earth_point.h"
#include "bessel/limit_points.h"
#include "bessel/path_trace.h"
#include "support/japan_star.h"
#include "support/path_fixture.h"
#include "support/published_eclipses.h"

namespace vernier {
namespace {

using testing::PathFixture;

constexpr double kTolerance = 1e-9;  // degrees

struct Collect : PathTraceSink {
  void OnPathPoint(const PathPoint& p) override { points.push_back(p); }
  std::vector<PathPoint> points;
};

// The plain point of (xi, eta1, zeta1): plot arguments, then the conversion.
GeoPoint PlainPlanePoint(const BesselianState& s, double deltaT, double xi, double eta1,
                         double zeta1) {
  const PlotArguments a = PlaneToPlotArguments(s, xi, eta1, zeta1);
  return ConvertFundamentalPoint(s, deltaT, a.phi1, a.hourAngle);
}

GeoPoint PlainCentral(const BesselianState& s, double deltaT) {
  const double eta1 = s.y / s.rho1;
  return PlainPlanePoint(s, deltaT, s.x, eta1, std::sqrt(1 - s.x * s.x - eta1 * eta1));
}

// The edge iteration with the direction's angle taken by atan, sin and cos.
GeoPoint PlainEdge(const BesselianState& s, const BesselianElements& e, double deltaT,
                   const PathPoint& p) {
  const bool inner = p.curve == PathCurve::Limit || p.curve == PathCurve::LimitOffset;
  const int passes = inner ? 2 : p.curve == PathCurve::OuterLimit ? 3 : 5;
  const double shift = p.curve == PathCurve::LimitOffset ? p.offset * kOneSecondOffset : 0;
  auto radius = [&](double zeta) {
    if (inner) return s.l2 - shift - zeta * e.tanf2;
    const double l1p = s.l1 - zeta * e.tanf1;
    if (p.curve == PathCurve::OuterLimit) return l1p;
    return l1p - p.m * (l1p + s.l2 - zeta * e.tanf2);
  };
  const double a = inner ? s.a2 : s.a1, c = inner ? s.c2 : s.c1;
  double q = std::atan(s.b / c), L = radius(0);
  double xi = 0, eta1 = 0, zeta1 = 0;
  for (int pass = 0; pass < passes; ++pass) {
    xi = s.x - p.side * L * std::sin(q);
    eta1 = (s.y - p.side * L * std::cos(q)) / s.rho1;
    zeta1 = std::sqrt(1 - xi * xi - eta1 * eta1);
    const double zeta = s.rho2 * (zeta1 * s.cosd1d2 - eta1 * s.sind1d2);
    q = std::atan((s.b - zeta * s.dd - a / (p.side * std::cos(q))) / (c - s.mud * zeta * s.cosd));
    L = radius(zeta);
  }
  return PlainPlanePoint(s, deltaT, xi, eta1, zeta1);
}

GeoPoint PlainRiseSetLimit(const BesselianState& s, double deltaT, int side) {
  const double rho = std::sqrt(s.x * s.x + s.y * s.y);
  const double theta = std::atan2(s.x, s.y) * kRadToDeg;
  double k = std::acos((rho * rho + 1 - s.l1 * s.l1) / (2 * rho)) * kRadToDeg;
  if (side < 0) k = 360 - k;
  const double lambda = (k + theta) * kDegToRad;
  const double xi = std::sin(lambda);
  const double hourAngle = std::atan2(xi, -std::cos(lambda) * s.sind) * kRadToDeg;
  const double ratio = xi / std::sin(hourAngle * kDegToRad);
  double phi = std::acos(ratio);
  if (std::cos(lambda) < 0) phi = -phi;
  return ConvertGeocentricPoint(s, deltaT, phi, hourAngle);
}

GeoPoint PlainRiseSetMaximum(const BesselianState& s, double deltaT, int side) {
  double h = std::atan2(s.b, s.c1) * kRadToDeg;
  if (s.y < 0) h += 180;
  if (side < 0) h += 180;
  const double sn = s.x * std::cos(h * kDegToRad) - s.y * std::sin(h * kDegToRad);
  const double v = (h + std::asin(sn) * kRadToDeg) * kDegToRad;
  const double xi = std::sin(v), eta = std::cos(v);
  double hourAngle = std::atan2(xi, -eta * s.sind) * kRadToDeg;
  if (hourAngle < 0) hourAngle += 360;
  return ConvertGeocentricPoint(s, deltaT, std::asin(eta * s.cosd), hourAngle);
}

double LongitudeDifference(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360);
  return std::min(d, 360 - d);
}

struct Deviation {
  double worst = 0;
  int points = 0, daylightDiffers = 0;
};

std::string FormatDeviation(const Deviation& d) {
  char text[64];
  std::snprintf(text, sizeof text, "%d points, worst %.3g degrees", d.points, d.worst);
  return text;
}

Deviation CompareTrace(const BesselianElements& elements, double deltaT, bool kmlExport) {
  PathFixture f(elements);
  PathTraceSettings settings;
  settings.deltaT = deltaT;
  settings.kmlExport = kmlExport;
  Collect sink;
  TracePath(f.ctx, settings, &sink);
  const EventEpoch epoch{elements.year, elements.month, elements.day, elements.t0};
  SunAtInstant sun;
  BesselianState s;
  Deviation d;
  for (const PathPoint& p : sink.points) {
    EvaluateElements(elements, p.t, s);
    GeoPoint plain;
    switch (p.curve) {
      case PathCurve::Central:
        plain = PlainCentral(s, deltaT);
        break;
      case PathCurve::Limit:
      case PathCurve::LimitOffset:
      case PathCurve::OuterLimit:
      case PathCurve::Magnitude:
        plain = PlainEdge(s, elements, deltaT, p);
        break;
      case PathCurve::RiseSetLimit:
        plain = PlainRiseSetLimit(s, deltaT, p.side);
        break;
      case PathCurve::RiseSetMaximum:
        plain = PlainRiseSetMaximum(s, deltaT, p.side);
        break;
      default:
        continue;  // the markers keep their own computation
    }
    ++d.points;
    d.worst = std::max({d.worst, LongitudeDifference(p.lon, plain.lon),
                        std::fabs(p.lat - plain.lat), std::fabs(p.alt - plain.alt)});
    const bool daylight =
        PathPointSunAltitude(sun, epoch, p.t, deltaT, plain.lat, plain.lon) > kDaylightSunAltitude;
    d.daylightDiffers += daylight != p.daylight;
  }
  return d;
}

TEST(PathPrecision, EveryTracedPointAgreesWithThePlainComputation) {
  const auto eclipse2024 = testing::TotalEclipse2024Apr08();
  const auto eclipse1998 = testing::TotalEclipse1998Feb26();
  struct Case {
    const char* name;
    BesselianElements elements;
    double deltaT;
    bool kmlExport;
  } cases[] = {
      {"2024 Apr 8", eclipse2024.elements, eclipse2024.deltaT, false},
      {"2024 Apr 8, export", eclipse2024.elements, eclipse2024.deltaT, true},
      {"1998 Feb 26", eclipse1998.elements, eclipse1998.deltaT, false},
      {"1998 Feb 26, export", eclipse1998.elements, eclipse1998.deltaT, true},
      {"star over Japan", testing::JapanStar(), 64, false},
  };
  for (const Case& c : cases) {
    const Deviation d = CompareTrace(c.elements, c.deltaT, c.kmlExport);
    EXPECT_GT(d.points, 5000) << c.name;
    EXPECT_LE(d.worst, kTolerance) << c.name;
    ::testing::Test::RecordProperty(c.name, FormatDeviation(d));
    EXPECT_EQ(d.daylightDiffers, 0) << c.name;
  }
}

}  // namespace
}  // namespace vernier
