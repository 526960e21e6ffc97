#include "local_contacts.h"

#include <cmath>
#include <cstdio>

#include "ephemeris/shadow.h"
#include "ephemeris/sky_frame.h"

namespace vernier::canon::testing {
namespace {

constexpr double kRad = 0.017453292519943295;

struct Geocentric {
  double rhoSin, rhoCos;  // ρ·sin φ′, ρ·cos φ′ in equatorial radii
};

Geocentric ObserverGeocentric(const Observer& o) {
  const double phi = o.latitude * kRad;
  const double c = 1.0 / std::sqrt(1.0 - kEarthE2 * std::sin(phi) * std::sin(phi));
  const double h = o.height / (kEarthRadiusKm * 1000.0);
  return {(c * (1.0 - kEarthE2) + h) * std::sin(phi), (c + h) * std::cos(phi)};
}

// Angle between two directions, accurate at small angles.
double Angle(const Vec3& a, const Vec3& b) { return std::atan2(Norm(Cross(a, b)), Dot(a, b)); }

}  // namespace

Contacts ContactsFromEphemeris(Ephemeris& ephemeris, const Body& body, double jdT0, double t0,
                               const Observer& observer, double deltaT, bool inner,
                               const Contacts& nearTo) {
  const Geocentric g = ObserverGeocentric(observer);
  const double moonRadiusKm = kMoonRadius * kEarthRadiusKm;
  // Positive outside the contact, negative inside; NaN when the ephemeris fails.
  auto gap = [&](double utHours) {
    const double jdTT = jdT0 + (utHours - t0) / 24.0 + deltaT / 86400.0;
    SkyFrame frame;
    std::string error;
    Vec3 moon;
    if (!ComputeSkyFrame(ephemeris, jdTT, frame, error) || !ephemeris.Moon(jdTT, moon))
      return std::nan("");
    // Sidereal time at the instant's universal time, from the same matrix.
    const double jdUT = jdTT - deltaT / 86400.0;
    double rnpb[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) rnpb[i][j] = frame.toDate[i][j];
    const double d1 = std::floor(jdTT) + 0.5;
    const double gast = eraGst06(d1, jdUT - d1, d1, jdTT - d1, rnpb);
    const double lst = gast + observer.longitude * kRad;
    const Vec3 site = {g.rhoCos * std::cos(lst) * kEarthRadiusKm,
                       g.rhoCos * std::sin(lst) * kEarthRadiusKm, g.rhoSin * kEarthRadiusKm};
    const Vec3 toMoon = Sub(Multiply(frame.toDate, moon), site);
    if (body.star) {
      const Vec3 s = Multiply(frame.toDate, StarDirection(frame, *body.star));
      const Vec3 perpendicular = Sub(toMoon, Scale(s, Dot(toMoon, s)));
      return (Norm(perpendicular) - moonRadiusKm) / kEarthRadiusKm;
    }
    Vec3 planet;
    if (!ephemeris.Planet(body.planet, jdTT, true, planet)) return std::nan("");
    const Vec3 toPlanet = Sub(Multiply(frame.toDate, planet), site);
    const double moonSemidiameter = std::asin(moonRadiusKm / Norm(toMoon));
    const double planetSemidiameter = std::asin(PlanetRadiusKm(body.planet) / Norm(toPlanet));
    const double touching = inner ? std::fabs(moonSemidiameter - planetSemidiameter)
                                  : moonSemidiameter + planetSemidiameter;
    return Angle(toMoon, toPlanet) - touching;
  };
  // Each contact lies between 72 s outside the given one and the middle of
  // the two, which is inside however short the chord.
  const double middle = 0.5 * (nearTo.first + nearTo.last);
  auto refine = [&](double outside, double inside) {
    const double fo = gap(outside);
    const double fi = gap(inside);
    if (!(fo >= 0 && fi < 0)) return std::nan("");
    for (int i = 0; i < 50; ++i) {
      const double m = 0.5 * (outside + inside);
      const double fm = gap(m);
      if (std::isnan(fm)) return std::nan("");
      (fm < 0 ? inside : outside) = m;
    }
    return 0.5 * (outside + inside);
  };
  Contacts c;
  c.first = refine(nearTo.first - 0.02, middle);
  c.last = refine(nearTo.last + 0.02, middle);
  c.found = !std::isnan(c.first) && !std::isnan(c.last);
  return c;
}

std::string Clock(double hours) {
  hours = std::fmod(hours + 48.0, 24.0);
  const int h = static_cast<int>(hours);
  const int m = static_cast<int>((hours - h) * 60.0);
  const double s = ((hours - h) * 60.0 - m) * 60.0;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%05.2f", h, m, s);
  return text;
}

}  // namespace vernier::canon::testing
