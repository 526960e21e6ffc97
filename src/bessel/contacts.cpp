#include "bessel/contacts.h"

#include <cmath>

#include "astro/constants.h"
#include "bessel/earth_point.h"

namespace vernier {

namespace {

constexpr int kContactSteps = 3;

ContactResult Contact(PathContext& ctx, double t, double deltaT, Side side, bool inner) {
  const BesselianState& s = ctx.state;
  double eta1 = 0;
  for (int step = 0; step < kContactSteps; ++step) {
    EvaluateAt(ctx, t);
    const double rho = std::sqrt(s.x * s.x + s.y * s.y);
    eta1 = s.y / s.rho1;
    // With the axis through the centre no direction is singled out; the
    // equatorial radius keeps the step defined (0/0 would lose the contact).
    const double earthRadius = rho > 0 ? rho / std::sqrt(s.x * s.x + eta1 * eta1) : 1.0;
    const double n = std::sqrt(s.xd * s.xd + s.yd * s.yd);
    const double reach = (inner ? std::fabs(s.l2) : s.l1) + earthRadius;
    const double tau =
        std::fabs(reach * std::cos(std::asin((s.x * s.yd - s.xd * s.y) / (reach * n))) / n);
    t = t + Sign(side) * tau - (s.x * s.xd + s.y * s.yd) / (n * n);
  }
  // A path that misses the Earth or a shadow that does not move leaves no
  // number here; there is then no contact to draw.
  if (!std::isfinite(t)) return {};
  EvaluateAt(ctx, t);
  // The limb point toward the shadow axis; eta1 is the one of the last step.
  const double A = std::atan2(s.x, eta1);
  const double hourAngle = std::atan2(std::sin(A), -std::cos(A) * s.sind1) * kRadToDeg;
  const double phi1 = std::asin(std::cos(A) * s.cosd1);
  const FoundPoint p = FundamentalMarkerPoint(ctx, deltaT, phi1, hourAngle);
  if (p.status != Status::Ok) return {};
  return {Status::Ok, t, p.lon, p.lat, p.alt};
}

}  // namespace

ContactResult PenumbralContact(PathContext& ctx, double t, double deltaT, Side side) {
  return Contact(ctx, t, deltaT, side, false);
}

ContactResult UmbralContact(PathContext& ctx, double t, double deltaT, Side side) {
  return Contact(ctx, t, deltaT, side, true);
}

}  // namespace vernier
