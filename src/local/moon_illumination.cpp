#include "local/moon_illumination.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/sun_moon.h"
#include "astro/time.h"
#include "local/libration.h"

namespace vernier {
namespace {

constexpr double kAstronomicalUnitKm = 149597870.7;

// a - b reduced to (-180, 180].
double AngleDifference(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d <= -180) d += 360;
  if (d > 180) d -= 360;
  return d;
}

}  // namespace

MoonIllumination MoonIlluminationAt(double jdTD) {
  const double T = JulianCenturies(jdTD);
  const LunarEclipticPosition moon = MoonPositionELP(T);
  const Nutation nutation = NutationIAU1980(T);
  const double epsilon = MeanObliquity(T) + nutation.obliquity;
  const EquatorialPosition m =
      EclipticToEquatorial(moon.longitude + nutation.longitude, moon.latitude, epsilon);
  const SolarPosition sun = SolarCoordinates(T);
  const double as = sun.rightAscension * kDegToRad, ds = sun.declination * kDegToRad;

  const double dA = as - m.rightAscension;
  const double cosElongation = std::sin(ds) * std::sin(m.declination) +
                               std::cos(ds) * std::cos(m.declination) * std::cos(dA);
  const double elongation = std::acos(std::fmax(-1.0, std::fmin(1.0, cosElongation)));
  const double phaseAngle = std::atan2(kAstronomicalUnitKm * std::sin(elongation),
                                       moon.distance - kAstronomicalUnitKm * cosElongation);

  MoonIllumination result;
  result.fraction = (1 + std::cos(phaseAngle)) / 2;
  const double ahead = AngleDifference(moon.longitude * kRadToDeg, sun.longitude);
  result.waxing = ahead > 0;
  double chi = std::atan2(std::cos(ds) * std::sin(dA),
                          std::sin(ds) * std::cos(m.declination) -
                              std::cos(ds) * std::sin(m.declination) * std::cos(dA)) *
               kRadToDeg;
  if (chi < 0) chi += 360;
  result.brightLimbAngle = chi;
  return result;
}

CuspAngle CuspAngleOf(double positionAngle, double brightLimbAngle) {
  const double fromBright = AngleDifference(positionAngle, brightLimbAngle);
  CuspAngle result;
  result.degrees = std::fabs(fromBright) - 90;
  // The nearer cusp is the one on the contact's side of the bright limb's
  // midpoint; it is the north cusp when it lies nearer position angle 0.
  const double cusp = brightLimbAngle + (fromBright >= 0 ? 90 : -90);
  result.cusp = std::fabs(AngleDifference(cusp, 0)) <= 90 ? 'N' : 'S';
  return result;
}

}  // namespace vernier
