#include "bessel/rise_set_points.h"

#include <algorithm>
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
                          const LatHourTrig& trig, const char* line) {
  if (!std::isfinite(phi) || !std::isfinite(hourAngle)) return Missing(ctx, line);
  const FoundPoint p = GeocentricPoint(ctx, t, deltaT, phi, hourAngle, trig);
  if (p.status != Status::Ok) return Missing(ctx, line);
  return p;
}

// The square root of 1 - c * c, with 1 - c taken exactly near 1.
double Complement(double c) {
  return std::sqrt((1 - c) * (1 + c));
}

// The sine and cosine of atan2(y, x), the angle 0 where both are 0.
void SinCosOfDirection(double y, double x, double& sine, double& cosine) {
  const double n = std::sqrt(x * x + y * y);
  sine = n > 0 ? y / n : 0;
  cosine = n > 0 ? x / n : 1;
}

}  // namespace

// The angles of the finders are taken through their sines and cosines: each
// inverse function runs once, for a value the point reports.
FoundPoint RiseSetLimitPoint(PathContext& ctx, double t, double deltaT, Side side) {
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  const double rho = std::sqrt(s.x * s.x + s.y * s.y);
  const double f = (rho * rho + 1 - s.l1 * s.l1) / (2 * rho);
  if (f > 1) return Missing(ctx, " no sunriseset point\n");

  // lambda = theta + k (or theta - k on the other side), theta = atan2(x, y)
  // and cos k = f.
  const double sinTheta = s.x / rho, cosTheta = s.y / rho;
  const double sinK = side == Side::Minus ? -Complement(f) : Complement(f);
  const double xi = sinTheta * f + cosTheta * sinK;  // sin lambda
  const double cosLambda = cosTheta * f - sinTheta * sinK;
  const double q = -cosLambda * s.sind;
  if (std::fabs(q) < 0.000001) return Missing(ctx, " no sunriseset point2\n");
  const double hourAngle = std::atan2(xi, q) * kRadToDeg;
  if (std::fabs(xi) < 0.000001) return Missing(ctx, " no sunriseset point3\n");

  // cos phi = xi / sin H = hypot(xi, q); sin phi = cos lambda cos d, by the
  // sign of cos lambda.
  LatHourTrig trig;
  trig.cosLat = std::sqrt(xi * xi + q * q);
  trig.sinLat = std::clamp(cosLambda * s.cosd, -1.0, 1.0);
  trig.sinHour = xi / trig.cosLat;
  trig.cosHour = q / trig.cosLat;
  const double phi = std::asin(trig.sinLat);
  return PointOrMissing(ctx, t, deltaT, phi, hourAngle, trig, " no sunriseset point\n");
}

FoundPoint RiseSetMaximumPoint(PathContext& ctx, double t, double deltaT, Side side) {
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  // h = atan2(b, c1), turned half round when y < 0 and again for side -1.
  double sinH, cosH;
  SinCosOfDirection(s.b, s.c1, sinH, cosH);
  if ((s.y < 0) != (side == Side::Minus)) {
    sinH = -sinH;
    cosH = -cosH;
  }
  const double sn = s.x * cosH - s.y * sinH;
  if (std::fabs(sn) > 1) return Missing(ctx, " no max sunriseset point1\n");

  // v = h + asin(sn)
  const double cosA = Complement(sn);
  const double xi = sinH * cosA + cosH * sn;   // sin v
  const double eta = cosH * cosA - sinH * sn;  // cos v
  const double dx = s.x - xi, dy = s.y - eta;
  if (s.l1 * s.l1 < dx * dx + dy * dy) return Missing(ctx, " no max sunriseset point2\n");

  if (std::fabs(xi) < 0.00001) return Missing(ctx, " no max sunriseset point3\n");
  const double q = -eta * s.sind;
  if (std::fabs(q) < 0.00001) return Missing(ctx, " no max sunriseset point4\n");
  double hourAngle = std::atan2(xi, q) * kRadToDeg;
  if (hourAngle < 0) hourAngle += 360;
  const double p = eta * s.cosd;
  if (std::fabs(p) > 1) return Missing(ctx, " no max sunriseset point5\n");

  // cos d is positive: the sign of phi is that of p.
  LatHourTrig trig;
  trig.sinLat = p;
  trig.cosLat = Complement(p);
  SinCosOfDirection(xi, q, trig.sinHour, trig.cosHour);
  return PointOrMissing(ctx, t, deltaT, std::asin(p), hourAngle, trig,
                        " no max sunriseset point1\n");
}

}  // namespace vernier
