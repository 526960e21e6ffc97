#include "sky/sky_coordinates.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/time.h"

namespace vernier {

double SkyJulianDate(double year, double month, double day, double hours, int zoneFlag,
                     double longitude) {
  const double sign = longitude < 0 ? -1 : 1;
  const double zone = zoneFlag == 1 ? sign * std::floor(std::fabs(longitude) / 15 + 0.5)
                                    : sign * std::fabs(longitude) / 15;
  // The zone's hours east are the local time's west longitude with the sign turned.
  return JulianDate(year, month, day, hours, -15 * zone);
}

HorizonPosition EquatorialToHorizon(double jd, double rightAscension, double declination,
                                    double latitude, double longitude) {
  const double h =
      (15 * LocalSiderealTime(JulianCenturies(jd), -longitude) - rightAscension) * kDegToRad;
  const double phi = latitude * kDegToRad, delta = declination * kDegToRad;
  HorizonPosition p;
  p.azimuth =
      std::atan2(std::sin(h), std::sin(phi) * std::cos(h) - std::cos(phi) * std::tan(delta)) *
      kRadToDeg;
  p.altitude =
      std::asin(std::cos(h) * std::cos(delta) * std::cos(phi) + std::sin(delta) * std::sin(phi)) *
      kRadToDeg;
  return p;
}

EquatorialPlace EclipticToEquatorialAtDate(double jd, double longitude, double latitude) {
  const double T = (jd - kJD1900) / kDaysPerJulianCentury;
  const double epsilon = (23.4523 - 0.013 * T - 1.6388e-7 * T * T) * kDegToRad;
  const double lambda = longitude * kDegToRad, beta = latitude * kDegToRad;
  EquatorialPlace p;
  double ra = std::atan2(std::sin(lambda) * std::cos(beta) * std::cos(epsilon) -
                             std::sin(beta) * std::sin(epsilon),
                         std::cos(lambda) * std::cos(beta)) *
              kRadToDeg;
  if (ra < 0) ra += 360;
  p.rightAscension = ra;
  p.declination = std::asin(std::sin(beta) * std::cos(epsilon) +
                            std::cos(beta) * std::sin(epsilon) * std::sin(lambda)) *
                  kRadToDeg;
  return p;
}

}  // namespace vernier
