#include "bessel/greatest_occultation.h"

#include <cmath>

#include "astro/constants.h"
#include "bessel/central_line.h"
#include "bessel/earth_point.h"

namespace vernier {

namespace {

constexpr double kSettled = 0.000001;  // hours
// Newton's steps settle in three or four; the cap only stops a shadow that
// wanders off (elements far outside their span) from looping for ever.
constexpr int kMaxSteps = 50;

bool IsCentralType(int type) {
  return type == 2 || type == 3 || type == 4;
}

}  // namespace

GreatestOccultationResult GreatestOccultation(PathContext& ctx, double t, double deltaT,
                                              int type) {
  const BesselianState& s = ctx.state;
  GreatestOccultationResult r;
  bool settled = false;
  for (int step = 0; step < kMaxSteps; ++step) {
    EvaluateAt(ctx, t);
    const double delta = -(s.x * s.xd + s.y * s.yd) / (s.xd * s.xd + s.yd * s.yd);
    t += delta;
    if (!std::isfinite(t)) break;
    if (std::fabs(delta) <= kSettled) {
      settled = true;
      break;
    }
  }
  if (!settled) return r;
  r.status = Status::Ok;
  r.t = t;

  if (IsCentralType(type)) {
    const CentralDetails d = CentralPointDetails(ctx, t, deltaT);
    if (d.status != Status::Ok) return r;
    r.pointStatus = Status::Ok;
    r.lon = d.lon;
    r.lat = d.lat;
    r.alt = d.alt;
    r.magnitude = d.magnitude;
    r.duration = d.duration;
    r.width = d.width;
    r.gamma = d.gamma;
    return r;
  }

  // The reported instant and point belong together: evaluate at t itself.
  EvaluateAt(ctx, t);
  const double rho = std::sqrt(s.x * s.x + s.y * s.y);
  const double eta1 = s.y / s.rho1;
  const double earthRadius = rho / std::sqrt(s.x * s.x + eta1 * eta1);
  r.magnitude = (s.l1 - (rho - earthRadius)) / (s.l1 + s.l2);
  r.duration = 0;
  r.width = 0;
  r.gamma = rho;
  const double A = std::atan2(s.x, eta1);
  const double hourAngle = std::atan2(std::sin(A), -std::cos(A) * s.sind1) * kRadToDeg;
  const double phi1 = std::asin(std::cos(A) * s.cosd1);
  if (!std::isfinite(r.magnitude)) return r;
  const FoundPoint p = FundamentalMarkerPoint(ctx, deltaT, phi1, hourAngle);
  if (p.status != Status::Ok) return r;
  r.pointStatus = Status::Ok;
  r.lon = p.lon;
  r.lat = p.lat;
  r.alt = p.alt;
  return r;
}

}  // namespace vernier
