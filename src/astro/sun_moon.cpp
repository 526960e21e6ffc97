#include "astro/sun_moon.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/time.h"

namespace vernier {
namespace {

constexpr double kLunarEccentricity = 0.05490897;
constexpr double kLunarInclination = 0.08978747377888621;  // radians
// Newton's method needs two or three steps; the cap only stops a NaN argument.
constexpr int kKeplerMaxIterations = 50;

double SinS(double deg) { return std::sin(deg * kSeriesDegToRad); }
double CosS(double deg) { return std::cos(deg * kSeriesDegToRad); }
double TanS(double deg) { return std::tan(deg * kSeriesDegToRad); }
double ToDegS(double rad) { return rad / kSeriesDegToRad; }

double PositiveRa(double deg) {
  if (deg < 0) deg += 360;
  return deg >= 360 ? 0.0 : deg;  // -tiny + 360 rounds to 360
}

}  // namespace

namespace detail {

KeplerSolution SolveLunarKepler(double meanAnomaly) {
  const double e = kLunarEccentricity;
  KeplerSolution s{meanAnomaly, 0};
  double E = meanAnomaly;
  do {
    E -= (E - e * std::sin(E) - meanAnomaly) / (1 - e * std::cos(E));
    ++s.iterations;
  } while (!(std::fabs(E - e * std::sin(E) - meanAnomaly) <= 0.00000001) &&
           s.iterations < kKeplerMaxIterations);
  s.eccentricAnomaly = E;
  return s;
}

double EclipticFromOrbitArgument(double u) {
  double g = ToDegS(std::atan(std::cos(kLunarInclination) * TanS(u)));
  if (u > 90 && u < 270) g += 180;
  if (u >= 270) g += 360;
  // The series' pi is a little large, so within about 1e-8 degrees below 90
  // and 270 the tangent has already changed sign; g then lags u by 180.
  if (u - g > 90) g += 180;
  return g;
}

}  // namespace detail

SolarPosition SolarCoordinates(double T) {
  const double T2 = T * T;
  const double L0 = ModReal(280.46645 + 36000.76983 * T + 0.0003032 * T2, 360);
  const double M =
      ModReal(357.5291 + 35999.0503 * T - 0.0001559 * T2 - 0.00000048 * T2 * T, 360);
  const double C = (1.9146 - 0.004817 * T - 0.000014 * T2) * SinS(M) +
                   (0.019993 - 0.000101 * T) * SinS(2 * M) + 0.00029 * SinS(3 * M);
  const double omega = 125.04 - 1934.136 * T;
  const double lambda = L0 + C - 0.00569 - 0.00478 * SinS(omega);
  const double eps = 23.43929111 - 0.013004167 * T - 0.000000164 * T2 + 0.00256 * CosS(omega);

  SolarPosition sun;
  sun.longitude = lambda;
  sun.latitude = 0;
  sun.rightAscension =
      PositiveRa(ToDegS(std::atan2(CosS(eps) * SinS(lambda), CosS(lambda))));
  sun.declination = ToDegS(std::asin(SinS(eps) * SinS(lambda)));
  return sun;
}

LunarPosition LunarCoordinates(double T, double T1800) {
  const double c = T1800;
  const double c2 = c * c;
  const double c3 = c2 * c;
  const double Lp =
      ModReal(335.723436 + 481267.887361 * c + 0.00338888 * c2 + 0.00000183333 * c3, 360);
  const double perigee =
      ModReal(225.397325 + 4069.053805 * c - 0.0102869 * c2 - 0.0000122222 * c3, 360);
  const double node =
      ModReal(33.272936 - 1934.144694 * c + 0.00208028 * c2 + 0.00000208333 * c3, 360);

  const double s1 = SinS(1.2949 + 413335.4078 * c - 0.0072201 * c2 - 0.0000072305 * c3);
  const double s2 = SinS(111.6209 + 890534.2514 * c + 0.0069838 * c2 + 0.0000069778 * c3);
  const double s3 = SinS(180.40885 + 35999.0552 * c - 0.0001988 * c2);
  const double s4 = SinS(0.88605 + 377336.3526 * c - 0.0070213 * c2 - 0.0000072305 * c3);
  const double s5 = SinS(111.21205 + 854535.1962 * c + 0.0071826 * c2 + 0.0000069778 * c3);
  const double s6 = SinS(169.1706 + 407332.2103 * c + 0.0053354 * c2 + 0.0000053292 * c3);

  const double M =
      ModReal((Lp + 1.2408 * s1 + 0.5958 * s2 + 0.1828 * s3 + 0.055 * s4 + 0.0431 * s5) -
                  perigee,
              360) *
      kSeriesDegToRad;
  const double E = detail::SolveLunarKepler(M).eccentricAnomaly;

  double nu = ToDegS(2 * std::atan(std::sqrt(1.1161982671658623) * std::tan(E / 2)));
  if (nu < 0) nu += 360;
  double u = perigee + nu - node;
  if (u > 360) u -= 360;
  if (u < 0) u += 360;

  const double g = detail::EclipticFromOrbitArgument(u);
  const double lambda = ModReal(node + g, 360);
  const double beta =
      ToDegS(std::atan(SinS(g) * std::tan(kLunarInclination))) + 0.1453 * s6;
  const double eps = 23.43929111 - 0.013004167 * T - 0.000000164 * T * T;

  LunarPosition moon;
  moon.longitude = lambda;
  moon.latitude = beta;
  moon.rightAscension = PositiveRa(ToDegS(
      std::atan2(SinS(lambda) * CosS(beta) * CosS(eps) - SinS(beta) * SinS(eps),
                 CosS(lambda) * CosS(beta))));
  moon.declination = ToDegS(
      std::asin(CosS(eps) * SinS(beta) + SinS(eps) * CosS(beta) * SinS(lambda)));
  return moon;
}

double SunAltitudeAtPoint(const EventEpoch& epoch, double t, double deltaT, double latDeg,
                          double lonEastDeg) {
  const double jd =
      JulianDate(epoch.year, epoch.month, epoch.day, UniversalHours(epoch.t0, t, deltaT), 0);
  const double T = JulianCenturies(jd);
  const SolarPosition sun = SolarCoordinates(T);
  const double h = (15 * LocalSiderealTime(T, -lonEastDeg) - sun.rightAscension) * kDegToRad;
  const double phi = latDeg * kDegToRad;
  const double dec = sun.declination * kDegToRad;
  const double k = std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(h);
  if (std::fabs(k) > 1) return 50;
  return 90 - std::acos(k) * kRadToDeg;
}

SunAltAz SunAltAzAtSite(const EventEpoch& epoch, double t, double deltaT, double latDeg,
                        double lonWestDeg) {
  // Local mean time and the longitude term cancel: the date is that of universal time.
  const double jd = JulianDate(epoch.year, epoch.month, epoch.day,
                               UniversalHours(epoch.t0, t, deltaT) - lonWestDeg / 15, lonWestDeg);
  const double T = JulianCenturies(jd);
  const SolarPosition sun = SolarCoordinates(T);
  const double h = (15 * LocalSiderealTime(T, lonWestDeg) - sun.rightAscension) * kDegToRad;
  const double phi = latDeg * kDegToRad;
  const double dec = sun.declination * kDegToRad;
  const double k = std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(h);

  SunAltAz result;
  result.altitude = std::fabs(k) > 1 ? -50 : std::asin(k) * kRadToDeg;
  result.azimuth =
      std::atan2(std::sin(h), std::cos(h) * std::sin(phi) - std::tan(dec) * std::cos(phi)) *
          kRadToDeg +
      180;
  return result;
}

MoonPhase MoonPhaseAtSite(const EventEpoch& epoch, double t, double deltaT) {
  const double jd =
      JulianDate(epoch.year, epoch.month, epoch.day, UniversalHours(epoch.t0, t, deltaT), 0);
  const double T = JulianCenturies(jd);
  const double T1800 = (jd - kJD1800) / kDaysPerJulianCentury;
  const SolarPosition sun = SolarCoordinates(T);
  const LunarPosition moon = LunarCoordinates(T, T1800);

  MoonPhase phase;
  double E = moon.longitude - sun.longitude;
  if (E < 0) E += 360;
  if (E > 360) E -= 360;
  phase.elongation = E;
  phase.age = E / 360 * 30;

  const double dS = sun.declination * kDegToRad;
  const double dM = moon.declination * kDegToRad;
  const double dA = (sun.rightAscension - moon.rightAscension) * kDegToRad;
  phase.brightLimbAngle =
      std::atan2(std::cos(dS) * std::sin(dA),
                 std::sin(dS) * std::cos(dM) - std::cos(dS) * std::sin(dM) * std::cos(dA)) *
      kRadToDeg;
  return phase;
}

}  // namespace vernier
