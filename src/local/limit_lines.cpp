#include "local/limit_lines.h"

#include <algorithm>
#include <cmath>

#include "astro/constants.h"
#include "astro/time.h"

namespace vernier {
namespace {

// The observer at sea level at latitude phi (degrees).
void PlaceAtLatitude(ObserverGeometry& o, double phi) {
  const double u = std::atan(kObserverAxisRatio * std::tan(phi * kDegToRad));
  o.latitude = phi;
  o.height = 0;
  o.rhoSinPhi = kObserverAxisRatio * std::sin(u);
  o.rhoCosPhi = std::cos(u);
}

// Iterates latitude and time together until both settle. `offset` is the
// distance of the wanted line from the shadow axis across the track (0 for the
// central line, +-|L2'| for the limits) and is re-read each round. Returns
// false when the iteration does not settle within 40 rounds, runs into a value
// that is not a number, or settles on a latitude beyond a pole (the line does
// not cross that meridian).
template <typename Offset>
bool IterateLatitude(LocalContext& c, double deltaT, Offset offset, double& phi, double& t) {
  phi = 0;
  t = 0;
  double dt = 100, dphi = 90;
  int count = 0;
  while (std::fabs(dt) > 0.00001 || std::fabs(dphi) > 0.001) {
    PlaceAtLatitude(c.observer, phi);
    EvaluateLocal(c, t, deltaT);
    const LocalState& s = c.state;
    const double sinH = std::sin(s.hourAngle), cosH = std::cos(s.hourAngle);
    const double rs = c.observer.rhoSinPhi, rc = c.observer.rhoCosPhi;
    dphi = (offset(s) + (s.a * s.v - s.u * s.b) / s.n) /
           ((sinH * s.b * rs + s.a * (cosH * c.shadow.sind * rs + c.shadow.cosd * rc)) /
            (s.n * kLimitLineRadToDeg));
    phi += dphi;
    dt = -(s.u * s.a + s.v * s.b) / (s.n * s.n);
    t += dt;
    if (!std::isfinite(phi) || !std::isfinite(t)) return false;
    if (++count > kLimitTableRounds) return false;
  }
  return std::fabs(phi) <= 90;
}

// The point of a line (offset as IterateLatitude's) at the evaluation point's
// longitude, with the body's altitude there.
template <typename Offset>
CentralLinePoint LinePointAtLongitude(LocalContext& c, double deltaT, Offset offset) {
  CentralLinePoint point;
  double phi, t;
  const bool settled = IterateLatitude(c, deltaT, offset, phi, t);
  point.t = t;
  if (!settled) return point;
  EvaluateLocal(c, t, deltaT);
  const double p = phi * kDegToRad;
  // Clamped: rounding may push the sine of a body in the zenith past 1.
  const double sine = std::clamp(
      std::cos(c.state.hourAngle) * std::cos(p) * c.shadow.cosd + std::sin(p) * c.shadow.sind,
      -1.0, 1.0);
  const double altitude = std::asin(sine) * kRadToDeg;
  if (!std::isfinite(altitude)) return point;
  point.latitude = phi;
  point.altitude = altitude;
  return point;
}

}  // namespace

CentralLinePoint CentralLatitudeAtLongitude(LocalContext& c, double deltaT) {
  return LinePointAtLongitude(c, deltaT, [](const LocalState&) { return 0.0; });
}

CentralLinePoint LimitPointAtLongitude(LocalContext& c, double deltaT, Side side) {
  return LinePointAtLongitude(c, deltaT,
                              [side](const LocalState& s) { return std::fabs(s.l2) * Sign(side); });
}

double LongitudeWithin180(double eastLongitude) {
  if (!std::isfinite(eastLongitude)) return eastLongitude;
  const double reduced = std::fmod(eastLongitude, 360);  // -360 .. 360
  if (reduced >= 180) return reduced - 360;
  if (reduced < -180) return reduced + 360;
  return reduced + 0.0;  // never -0
}

double LimitLatitudeAtLongitude(LocalContext& c, double deltaT, Side side) {
  double phi, t;
  const auto offset = [side](const LocalState& s) { return std::fabs(s.l2) * Sign(side); };
  return IterateLatitude(c, deltaT, offset, phi, t) ? phi : kNoLatitude;
}

LimitLineTable ComputeLimitLineTable(LocalContext& c, double deltaT, double firstLongitude,
                                     double step) {
  const BesselianElements& e = c.elements;
  ObserverGeometry o;
  LocalContext here{c.elements, c.shadow, o, c.state};
  o.westLongitude = -LongitudeWithin180(firstLongitude);
  // A partial event's shadow axis misses the Earth: the limit that crosses it
  // stands in the central line's place.
  const bool centralEvent = std::trunc(e.type) != 1;
  o.latitude = 0;
  o.height = 0;
  LimitLineTable table;
  for (LimitLineRow& row : table) {
    // + 0.0 so that the meridian of Greenwich is 0, never -0.
    row.eastLongitude = -o.westLongitude + 0.0;
    if (!centralEvent) {
      for (Side side : kBothSides) {
        const CentralLinePoint limit = LimitPointAtLongitude(here, deltaT, side);
        if (!(limit.altitude > -0.9)) continue;
        (side == Side::Plus ? row.north : row.south) = limit.latitude;
        if (!row.limitOnly) {
          row.ut = UniversalHours(e.t0, limit.t, deltaT);
          row.lmt = row.ut - o.westLongitude / 15;
        }
        row.limitOnly = true;
      }
      o.westLongitude -= step;
      continue;
    }
    const CentralLinePoint centre = CentralLatitudeAtLongitude(here, deltaT);
    if (centre.altitude > -0.9) {
      row.central = true;
      row.north = LimitLatitudeAtLongitude(here, deltaT, Side::Plus);
      row.south = LimitLatitudeAtLongitude(here, deltaT, Side::Minus);
      row.centre = centre.latitude;
      row.ut = UniversalHours(e.t0, centre.t, deltaT);
      row.lmt = row.ut - o.westLongitude / 15;
    }
    o.westLongitude -= step;
  }
  return table;
}

}  // namespace vernier
