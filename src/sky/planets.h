// Low-precision places of the Sun and of the five bright planets for the sky
// chart: mean orbital elements of date as cubic polynomials in time, long-
// period corrections of Jupiter and Saturn, the equation of centre to the
// third power of the eccentricity, and the geocentric position from the Sun's.
// Accuracy is of the order of a few hundredths of a degree for the Sun and the
// inner planets and a tenth of a degree for Jupiter and Saturn, ample at the
// chart's two pixels per degree.
#pragma once

#include <array>

namespace vernier {

// Where a body stands, as the Sun and planet routines return it.
struct BodyPosition {
  double longitude = 0, latitude = 0;  // geocentric ecliptic, mean equinox of date, degrees
  double semiDiameter = 0;             // degrees
  double x = 0, y = 0, z = 0;          // geocentric ecliptic rectangular, AU
  double distance = 0;                 // from the Earth, AU
  double magnitude = 0;
  double rightAscension = 0, declination = 0;  // degrees
};

// The planet numbers of PlanetPosition.
inline constexpr int kMercury = 1, kVenus = 2, kEarth = 3, kMars = 4, kJupiter = 5, kSaturn = 6;

// The Sun at the Julian date `jd` (magnitude -10).
BodyPosition SunPosition(double jd);

// Planet `planet` (1 Mercury, 2 Venus, 4 Mars, 5 Jupiter, 6 Saturn) at the
// Julian date `jd`. Any other number (3 is the Earth) gives a record of zeros.
BodyPosition PlanetPosition(int planet, double jd);

// Mean elements of date of a planet: angles in degrees, a in AU.
struct OrbitalElements {
  double meanLongitude = 0;        // L
  double perihelionLongitude = 0;  // ϖ
  double eccentricity = 0;         // e
  double semiMajorAxis = 0;        // a
  double node = 0;                 // Ω
  double inclination = 0;          // i
};

// The elements after the long-period corrections of Jupiter and Saturn (the
// other planets have none); L, ϖ and Ω reduced to [0, 360).
OrbitalElements PlanetElements(int planet, double jd);

// The long-period correction grids of Jupiter (mean longitude, perihelion,
// eccentricity angle) and Saturn (the same and the semi-major axis): 37 x 37
// values over the two slow arguments A1 (columns) and A2 (rows) from 0° to
// 360° in steps of 10°, in hundredths of a degree (the last Saturn grid in
// thousandths of an AU).
enum class PerturbationGrid {
  JupiterLongitude,
  JupiterPerihelion,
  JupiterEccentricity,
  SaturnLongitude,
  SaturnPerihelion,
  SaturnEccentricity,
  SaturnAxis,
};
using GridTable = std::array<std::array<double, 37>, 37>;  // [row A2 / 10][column A1 / 10]
const GridTable& PerturbationGridTable(PerturbationGrid grid);

// Bilinear interpolation in a grid at A1, A2 in [0, 360).
double InterpolateGrid(const GridTable& grid, double a1, double a2);

}  // namespace vernier
