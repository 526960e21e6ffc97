#include "sky/planets.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vernier {
namespace {

// Angular distance (degrees) between two places given in degrees.
double Separation(double ra1, double dec1, double ra2, double dec2) {
  const double r = 0.017453292519943295;
  const double c = std::sin(dec1 * r) * std::sin(dec2 * r) +
                   std::cos(dec1 * r) * std::cos(dec2 * r) * std::cos((ra1 - ra2) * r);
  return std::acos(std::fmin(1.0, c)) / r;
}

double Hms(double h, double m, double s) {
  return (h + m / 60 + s / 3600) * 15;
}
double Dms(double d, double m, double s) {
  return d < 0 ? -(-d + m / 60 + s / 3600) : d + m / 60 + s / 3600;
}

TEST(Planets, MeanElementsOfMercuryMatchThePublishedExample) {
  // Astronomical Algorithms, example 31.a: Mercury, 2065 June 24.0 TD, mean
  // equinox of date.
  const OrbitalElements e = PlanetElements(kMercury, 2475460.5);
  EXPECT_NEAR(e.meanLongitude, 203.494701, 0.01);
  EXPECT_NEAR(e.semiMajorAxis, 0.387098310, 1e-6);
  EXPECT_NEAR(e.eccentricity, 0.20564510, 1e-5);
  EXPECT_NEAR(e.inclination, 7.006171, 0.001);
  EXPECT_NEAR(e.node, 49.107650, 0.005);
  EXPECT_NEAR(e.perihelionLongitude, 78.475382, 0.01);
}

TEST(Planets, SunMatchesThePublishedExample) {
  // Astronomical Algorithms, example 25.a: 1992 October 13.0 TD, true
  // geometric longitude 199.90988°, radius vector 0.99766 AU.
  const BodyPosition sun = SunPosition(2448908.5);
  EXPECT_NEAR(sun.longitude, 199.90988, 0.005);
  EXPECT_NEAR(sun.distance, 0.99766, 1e-5);
  EXPECT_EQ(sun.latitude, 0);
  EXPECT_EQ(sun.magnitude, -10);
  EXPECT_NEAR(sun.semiDiameter, 0.2666 / sun.distance, 1e-12);
  EXPECT_NEAR(std::hypot(sun.x, sun.y), sun.distance, 1e-12);
  // Its equatorial place is within a hundredth of a degree of the apparent
  // one (α 13h 13m 31.4s, δ -7° 47′ 06″), which adds aberration and nutation.
  EXPECT_LT(Separation(sun.rightAscension, sun.declination, 198.38083, -7.78507), 0.01);
}

TEST(Planets, PlacesMatchPublishedPositions) {
  // Astronomical Algorithms, example 33.a: Venus, 1992 December 20.0 TD,
  // geocentric λ 313.08102°, β -2.08474°, Δ 0.910947 AU, apparent α 21h 04m
  // 41.454s, δ -18° 53′ 16.84″.
  const BodyPosition venus = PlanetPosition(kVenus, 2448976.5);
  EXPECT_NEAR(venus.longitude, 313.08102, 0.01);
  EXPECT_NEAR(venus.latitude, -2.08474, 0.005);
  EXPECT_NEAR(venus.distance, 0.910947, 2e-4);
  EXPECT_LT(
      Separation(venus.rightAscension, venus.declination, Hms(21, 4, 41.454), Dms(-18, 53, 16.84)),
      0.01);
  EXPECT_NEAR(venus.magnitude, -4.2, 0.2);  // a Venus well past greatest elongation

  // JPL Horizons, astrometric geocentric places at 2000 January 1.5 TD (where
  // the equinox of date is J2000.0). Saturn keeps within 0.2°: the long-period
  // term of its mean longitude is a coarser fit than the others.
  struct Case {
    int planet;
    double ra, dec, tolerance;
  } cases[] = {
      {kMercury, Hms(18, 8, 20.45), Dms(-24, 25, 13.4), 0.03},
      {kMars, Hms(22, 2, 5.90), Dms(-13, 10, 49.8), 0.02},
      {kJupiter, Hms(1, 35, 28.76), Dms(8, 35, 45.2), 0.03},
      {kSaturn, Hms(2, 35, 3.84), Dms(12, 36, 58.6), 0.25},
  };
  for (const Case& c : cases) {
    const BodyPosition p = PlanetPosition(c.planet, 2451545.0);
    EXPECT_LT(Separation(p.rightAscension, p.declination, c.ra, c.dec), c.tolerance) << c.planet;
    EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), p.distance, 1e-12);
  }
  // Magnitudes that night: Jupiter -2.5, Mars +1.0, Saturn +0.7 (rings open).
  EXPECT_NEAR(PlanetPosition(kJupiter, 2451545.0).magnitude, -2.5, 0.2);
  EXPECT_NEAR(PlanetPosition(kMars, 2451545.0).magnitude, 1.0, 0.3);
}

TEST(Planets, EarthAndUnknownNumbersGiveEmptyRecords) {
  for (int n : {0, kEarth, 7}) {
    const BodyPosition p = PlanetPosition(n, 2451545.0);
    EXPECT_EQ(p.distance, 0) << n;
    EXPECT_EQ(p.rightAscension, 0) << n;
    EXPECT_FALSE(std::isnan(p.magnitude)) << n;
  }
}

TEST(Planets, CorrectionGridsInterpolateAndCarryTheirOffsets) {
  // Bilinear interpolation on a plane a + b·A1 + c·A2 is exact.
  GridTable plane{};
  for (int r = 0; r <= 36; ++r)
    for (int c = 0; c <= 36; ++c) plane[r][c] = 3 + 0.5 * (10 * c) - 0.25 * (10 * r);
  for (double a1 : {0.0, 12.5, 187.3, 359.9})
    for (double a2 : {0.0, 45.0, 299.99})
      EXPECT_NEAR(InterpolateGrid(plane, a1, a2), 3 + 0.5 * a1 - 0.25 * a2, 1e-9);
  // Arguments beyond a turn are reduced into it; non-numbers give no correction.
  EXPECT_NEAR(InterpolateGrid(plane, 372.5, -10), 3 + 0.5 * 12.5 - 0.25 * 350, 1e-9);
  EXPECT_EQ(InterpolateGrid(plane, NAN, 10), 0);
  EXPECT_EQ(InterpolateGrid(plane, 10, INFINITY), 0);

  // The grids are periodic (0° and 360° agree); Jupiter's average nothing,
  // Saturn's hold the +0.5° (+0.05 AU) that its long-period terms take back.
  struct Expect {
    PerturbationGrid grid;
    double mean, maxAbsDeviation;
  } grids[] = {
      {PerturbationGrid::JupiterLongitude, 0, 10},   {PerturbationGrid::JupiterPerihelion, 0, 6},
      {PerturbationGrid::JupiterEccentricity, 0, 6}, {PerturbationGrid::SaturnLongitude, 50, 30},
      {PerturbationGrid::SaturnPerihelion, 50, 25},  {PerturbationGrid::SaturnEccentricity, 50, 30},
      {PerturbationGrid::SaturnAxis, 50, 45},
  };
  for (const Expect& e : grids) {
    const GridTable& g = PerturbationGridTable(e.grid);
    double sum = 0, worst = 0;
    for (int r = 0; r < 36; ++r)
      for (int c = 0; c < 36; ++c) {
        sum += g[r][c];
        worst = std::fmax(worst, std::fabs(g[r][c] - e.mean));
      }
    EXPECT_NEAR(sum / (36 * 36), e.mean, 1e-6) << static_cast<int>(e.grid);
    EXPECT_GT(worst, 1) << static_cast<int>(e.grid);
    EXPECT_LT(worst, e.maxAbsDeviation) << static_cast<int>(e.grid);
    for (int i = 0; i <= 36; ++i) {
      EXPECT_NEAR(g[i][0], g[i][36], 1e-9);
      EXPECT_NEAR(g[0][i], g[36][i], 1e-9);
    }
  }
}

}  // namespace
}  // namespace vernier
