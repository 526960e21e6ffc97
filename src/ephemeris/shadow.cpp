#include "astro/constants.h"
#include "ephemeris/shadow.h"

#include <cmath>

namespace vernier {
namespace {


// Projects the Moon onto the plane perpendicular to `axis` (unit vector of
// the date frame) and fills the orientation terms.
ShadowState Project(const SkyFrame& frame, const Vec3& moonDate, const Vec3& axis) {
  ShadowState s;
  const double d = std::asin(axis[2]);
  const double a = std::atan2(axis[1], axis[0]);
  const Vec3 east = {-std::sin(a), std::cos(a), 0.0};
  const Vec3 north = {-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)};
  s.x = Dot(moonDate, east) / kEarthRadiusKm;
  s.y = Dot(moonDate, north) / kEarthRadiusKm;
  s.z = Dot(moonDate, axis) / kEarthRadiusKm;
  s.d = d * kRadToDeg;
  s.mu = std::fmod((frame.gast - a) * kRadToDeg, 360.0);
  if (s.mu < 0) s.mu += 360.0;
  return s;
}

}  // namespace

ShadowState StarShadow(const SkyFrame& frame, const Vec3& moonKm, const Vec3& starDirection) {
  ShadowState s = Project(frame, Multiply(frame.toDate, moonKm), Normalise(Multiply(frame.toDate, starDirection)));
  s.l1 = s.l2 = kMoonRadius;
  s.tanf1 = s.tanf2 = 0.0;
  return s;
}

ShadowState PlanetShadow(const SkyFrame& frame, const Vec3& moonKm, const Vec3& planetKm,
                         double radiusKm) {
  const Vec3 moon = Multiply(frame.toDate, moonKm);
  const Vec3 planet = Multiply(frame.toDate, planetKm);
  const Vec3 axis = Sub(planet, moon);
  const double distance = Norm(axis);
  ShadowState s = Project(frame, moon, Scale(axis, 1.0 / distance));
  const double moonKmRadius = kMoonRadius * kEarthRadiusKm;
  const double f1 = std::asin((radiusKm + moonKmRadius) / distance);
  const double f2 = std::asin((radiusKm - moonKmRadius) / distance);
  // Outer cone: vertex between the bodies. Inner cone: radius k at the Moon,
  // shrinking toward the Earth by (R − k)/D per unit length.
  s.tanf1 = std::tan(f1);
  s.l1 = s.z * s.tanf1 + kMoonRadius / std::cos(f1);
  s.tanf2 = -std::tan(f2);
  s.l2 = kMoonRadius / std::cos(f2) + s.z * s.tanf2;
  return s;
}

double PlanetRadiusKm(int number) {
  switch (number) {
    case 1: return 2439.7;
    case 2: return 6051.8;
    case 4: return 3396.2;
    case 5: return 71492.0;
    case 6: return 60268.0;
    case 7: return 25559.0;
    case 8: return 24764.0;
    case 9: return 1188.3;
    default: return 0.0;
  }
}

double EarthRadiusToward(double x, double y, double dDegrees) {
  const double cosd = std::cos(dDegrees / kRadToDeg);
  const double rho1 = std::sqrt(1.0 - kEarthE2 * cosd * cosd);
  const double rho = std::hypot(x, y);
  const double scaled = std::hypot(x, y / rho1);
  return scaled > 0.0 ? rho / scaled : rho1;
}

}  // namespace vernier
