#include "bessel/rise_set_points.h"

#include <cmath>

#include "astro/constants.h"
#include "bessel/earth_point.h"

namespace vernier {

namespace {

FoundPoint Missing(const PathContext& ctx, const char* line) {
  WriteDiagnostic(ctx, line);
  return {};
}

FoundPoint PointOrMissing(PathContext& ctx, double t, double deltaT, double phi, double hourAngle,
                          const char* line) {
  if (!std::isfinite(phi) || !std::isfinite(hourAngle)) return Missing(ctx, line);
  const FoundPoint p = GeocentricPoint(ctx, t, deltaT, phi, hourAngle);
  if (p.status != 1) return Missing(ctx, line);
  return p;
}

}  // namespace

FoundPoint RiseSetLimitPoint(PathContext& ctx, double t, double deltaT, int side) {
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  const double rho = std::sqrt(s.x * s.x + s.y * s.y);
  const double theta = std::atan2(s.x, s.y) * kRadToDeg;
  const double f = (rho * rho + 1 - s.l1 * s.l1) / (2 * rho);
  if (f > 1) return Missing(ctx, " no sunriseset point\n");

  double k = std::acos(f) * kRadToDeg;
  if (side < 0) k = 360 - k;
  const double lambda = (k + theta) * kDegToRad;
  const double xi = std::sin(lambda);
  const double q = -std::cos(lambda) * s.sind;
  if (std::fabs(q) < 0.000001) return Missing(ctx, " no sunriseset point2\n");
  const double hourAngle = std::atan2(xi, q) * kRadToDeg;
  if (std::fabs(xi) < 0.000001) return Missing(ctx, " no sunriseset point3\n");

  const double ratio = xi / std::sin(hourAngle * kDegToRad);
  double phi = std::acos(ratio);
  if (std::cos(lambda) < 0) phi = -phi;
  if (ratio < 0) phi = -phi;
  return PointOrMissing(ctx, t, deltaT, phi, hourAngle, " no sunriseset point\n");
}

FoundPoint RiseSetMaximumPoint(PathContext& ctx, double t, double deltaT, int side) {
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  double h = std::atan2(s.b, s.c1) * kRadToDeg;
  if (s.y < 0) h += 180;
  if (side < 0) h += 180;
  const double hRad = h * kDegToRad;
  const double sn = s.x * std::cos(hRad) - s.y * std::sin(hRad);
  if (std::fabs(sn) > 1) return Missing(ctx, " no max sunriseset point1\n");

  double v = h + std::asin(sn) * kRadToDeg;
  if (v > 360) v -= 360;
  const double xi = std::sin(v * kDegToRad);
  const double eta = std::cos(v * kDegToRad);
  const double dx = s.x - xi, dy = s.y - eta;
  if (s.l1 * s.l1 < dx * dx + dy * dy) return Missing(ctx, " no max sunriseset point2\n");

  if (std::fabs(xi) < 0.00001) return Missing(ctx, " no max sunriseset point3\n");
  const double q = -eta * s.sind;
  if (std::fabs(q) < 0.00001) return Missing(ctx, " no max sunriseset point4\n");
  double hourAngle = std::atan2(xi, q) * kRadToDeg;
  if (hourAngle < 0) hourAngle += 360;
  const double p = eta * s.cosd;
  if (std::fabs(p) > 1) return Missing(ctx, " no max sunriseset point5\n");

  double phi = std::asin(p);
  if (eta < 0 && s.cosd < 0) phi = -phi;
  return PointOrMissing(ctx, t, deltaT, phi, hourAngle, " no max sunriseset point1\n");
}

}  // namespace vernier
