// The Moon's position from the truncated ELP-2000/82 theory, the IAU 1980
// nutation, and from them the Moon's optical and physical libration and the
// position angle of its axis as seen by the observer.
#pragma once

#include <cstdio>

namespace vernier {

struct LibrationResult {  // radians
  double totalL = 0, totalB = 0;
  double opticalL = 0, opticalB = 0;
  double physicalL = 0, physicalB = 0;
  double positionAngle = 0;  // P, from an arc sine: −π/2 … π/2
};

struct FundamentalArgumentSet {  // radians, 0 … 2π; E dimensionless
  double omega = 0, d = 0, m = 0, mp = 0, f = 0, e = 0;
  double lp = 0;  // the Moon's mean longitude L′
};

struct LunarEclipticPosition {
  double longitude = 0;  // λ, radians, 0 … 2π
  double latitude = 0;   // β, radians
  double distance = 0;   // Δ, km
};

struct EquatorialPosition {
  double rightAscension = 0;  // radians, 0 … 2π
  double declination = 0;
};

struct EclipticPosition {
  double longitude = 0;  // radians, 0 … 2π
  double latitude = 0;
};

struct Nutation {
  double longitude = 0;  // Δψ, radians
  double obliquity = 0;  // Δε, radians
};

// T in Julian centuries of dynamical time from J2000.0.
FundamentalArgumentSet FundamentalArguments(double T);
LunarEclipticPosition MoonPositionELP(double T);
Nutation NutationIAU1980(double T);
// Laskar's mean obliquity, radians.
double MeanObliquity(double T);

EquatorialPosition EclipticToEquatorial(double lambda, double beta, double epsilon);
EclipticPosition EquatorialToEcliptic(double alpha, double delta, double epsilon);

// Libration and axis position angle for an observer (east longitude and
// latitude in radians, height in metres) at a universal time of a date. The
// four lines of optical, physical and total libration and position angle go
// to `lines` (none when null).
LibrationResult ComputeLibration(double year, double month, double day, double utHour,
                                 double deltaT, double eastLongitude, double latitude,
                                 double height, std::FILE* lines = nullptr);

}  // namespace vernier
