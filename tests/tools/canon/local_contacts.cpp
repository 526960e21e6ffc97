#include "local_contacts.h"

#include <cmath>
#include <cstdio>
#include <functional>

#include "shadow.h"
#include "sky_frame.h"

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

double Poly(std::initializer_list<double> c, double t) {
  double p = 0.0, tn = 1.0;
  for (double v : c) {
    p += v * tn;
    tn *= t;
  }
  return p;
}

// Observer's distance from the shadow axis minus the shadow radius, at t
// hours from t0.
double Gap(const ElementRecord& r, const Geocentric& g, double longitude, double deltaT, bool inner,
           double t) {
  const double x = Poly({r.x0, r.x1, r.x2, r.x3}, t), y = Poly({r.y0, r.y1, r.y2, r.y3}, t);
  const double d = Poly({r.d0, r.d1, r.d2}, t) * kRad;
  const double mu = Poly({r.mu0, r.mu1}, t);
  const double h = (mu + longitude - 0.00417807 * deltaT) * kRad;  // λwest = −longitude
  const double xi = g.rhoCos * std::sin(h);
  const double eta = g.rhoSin * std::cos(d) - g.rhoCos * std::cos(h) * std::sin(d);
  const double zeta = g.rhoSin * std::sin(d) + g.rhoCos * std::cos(h) * std::cos(d);
  const double l = inner ? std::fabs(Poly({r.l20, r.l21, r.l22}, t) - zeta * r.tanf2)
                         : Poly({r.l10, r.l11, r.l12}, t) - zeta * r.tanf1;
  return std::hypot(x - xi, y - eta) - l;
}

// Least value of f near t, then the roots on either side.
Contacts Roots(const std::function<double(double)>& f, double tStart, double window) {
  Contacts c;
  double tMin = tStart, fMin = f(tStart);
  for (double t = tStart - window; t <= tStart + window; t += 0.01) {
    const double v = f(t);
    if (v < fMin) {
      fMin = v;
      tMin = t;
    }
  }
  if (fMin >= 0.0) return c;
  auto bisect = [&](double inside, double outside) {
    for (int i = 0; i < 60; ++i) {
      const double mid = 0.5 * (inside + outside);
      (f(mid) < 0.0 ? inside : outside) = mid;
    }
    return 0.5 * (inside + outside);
  };
  double a = tMin, b = tMin;
  while (f(a) < 0.0 && a > tMin - window) a -= 0.02;
  while (f(b) < 0.0 && b < tMin + window) b += 0.02;
  if (f(a) < 0.0 || f(b) < 0.0) return c;
  c.first = bisect(tMin, a);
  c.last = bisect(tMin, b);
  c.found = true;
  return c;
}

}  // namespace

Contacts ContactsFromElements(const ElementRecord& record, const Observer& observer, double deltaT,
                              bool inner) {
  const Geocentric g = ObserverGeocentric(observer);
  Contacts c = Roots([&](double t) { return Gap(record, g, observer.longitude, deltaT, inner, t); }, 0.0, 4.0);
  if (c.found) {
    c.first += record.t0 - deltaT / 3600.0;
    c.last += record.t0 - deltaT / 3600.0;
  }
  return c;
}

Contacts ContactsFromEphemeris(Ephemeris& ephemeris, const CatalogueStar& star,
                               const ElementRecord& record, const Observer& observer, double deltaT,
                               const Contacts& nearTo) {
  const Geocentric g = ObserverGeocentric(observer);
  auto gap = [&](double utHours) {
    const double jdTT = record.jd + (utHours - record.t0) / 24.0 + deltaT / 86400.0;
    SkyFrame frame;
    std::string error;
    Vec3 moon;
    if (!ComputeSkyFrame(ephemeris, jdTT, frame, error) || !ephemeris.Moon(jdTT, moon)) return 1.0;
    // Sidereal time at the instant's universal time, from the same matrix.
    const double jdUT = jdTT - deltaT / 86400.0;
    double rnpb[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) rnpb[i][j] = frame.toDate[i][j];
    const double d1 = std::floor(jdTT) + 0.5;
    const double gast = eraGst06(d1, jdUT - d1, d1, jdTT - d1, rnpb);
    const double lst = gast + observer.longitude * kRad;
    const Vec3 site = {g.rhoCos * std::cos(lst) * kEarthRadiusKm, g.rhoCos * std::sin(lst) * kEarthRadiusKm,
                       g.rhoSin * kEarthRadiusKm};
    const Vec3 s = Multiply(frame.toDate, StarDirection(frame, star));
    const Vec3 rel = Sub(Multiply(frame.toDate, moon), site);
    const Vec3 perpendicular = Sub(rel, Scale(s, Dot(rel, s)));
    return (Norm(perpendicular) - kMoonRadius * kEarthRadiusKm) / kEarthRadiusKm;
  };
  Contacts c;
  auto refine = [&](double t) {
    double a = t - 0.02, b = t + 0.02;  // ±72 s brackets the root
    double fa = gap(a), fb = gap(b);
    if (fa * fb > 0) return std::nan("");
    for (int i = 0; i < 50; ++i) {
      const double m = 0.5 * (a + b);
      const double fm = gap(m);
      if ((fm < 0) == (fa < 0)) {
        a = m;
        fa = fm;
      } else {
        b = m;
      }
    }
    return 0.5 * (a + b);
  };
  c.first = refine(nearTo.first);
  c.last = refine(nearTo.last);
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
