#include "bessel/central_line.h"

#include <cmath>

#include "bessel/earth_point.h"

namespace vernier {

namespace {

constexpr char kNoCentralPoint[] = " no central point\n";
constexpr double kEarthDiameterKm = 12756;

// The axis point on the fundamental plane at the evaluated instant.
struct AxisPoint {
  bool onEarth = false;
  double xi = 0, eta1 = 0, zeta1 = 0, zeta = 0;
};

AxisPoint AxisOnEarth(const BesselianState& s) {
  AxisPoint a;
  a.xi = s.x;
  a.eta1 = s.y / s.rho1;
  const double w = 1 - a.xi * a.xi - a.eta1 * a.eta1;
  if (!(w >= 0)) return a;  // a NaN counts as missing too
  a.zeta1 = std::sqrt(w);
  a.zeta = s.rho2 * (a.zeta1 * s.cosd1d2 - a.eta1 * s.sind1d2);
  a.onEarth = true;
  return a;
}

}  // namespace

FoundPoint CentralPoint(PathContext& ctx, double t, double deltaT) {
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  const AxisPoint a = AxisOnEarth(s);
  if (!a.onEarth) {
    WriteDiagnostic(ctx, kNoCentralPoint);
    return {};
  }
  const FoundPoint p = PlanePoint(ctx, t, deltaT, a.xi, a.eta1, a.zeta1);
  if (p.status != Status::Ok) {
    WriteDiagnostic(ctx, kNoCentralPoint);
    return {};
  }
  ctx.centralUmbraRadius = s.l2 - a.zeta * ctx.elements.tanf2;
  return p;
}

double CentralUmbraRadius(const PathContext& ctx) {
  return ctx.centralUmbraRadius;
}

CentralDetails CentralPointDetails(PathContext& ctx, double t, double deltaT) {
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  const BesselianElements& e = ctx.elements;
  CentralDetails d;
  const AxisPoint a = AxisOnEarth(s);
  if (!a.onEarth) {
    WriteDiagnostic(ctx, kNoCentralPoint);
    return d;
  }
  const double l2p = s.l2 - a.zeta * e.tanf2;
  const double l1p = s.l1 - a.zeta * e.tanf1;
  const double A = s.c2 - s.mud * a.zeta * s.cosd;
  const double B = s.b;
  const double n = std::sqrt(A * A + B * B);
  const double across = (A * s.x - B * s.y) / n;
  d.magnitude = (l1p - l2p) / (l1p + l2p);
  d.duration = 2 * l2p / n;
  d.width = std::fabs(l2p) * kEarthDiameterKm / std::sqrt(a.zeta1 * a.zeta1 + across * across);
  d.gamma = std::sqrt(s.x * s.x + s.y * s.y);
  if (s.y < 0) d.gamma = -d.gamma;
  const PlotArguments arg = PlaneToPlotArguments(s, a.xi, a.eta1, a.zeta1);
  if (!std::isfinite(d.magnitude) || !std::isfinite(d.duration) || !std::isfinite(d.width) ||
      !std::isfinite(arg.phi1) || !std::isfinite(arg.hourAngle)) {
    WriteDiagnostic(ctx, kNoCentralPoint);
    return CentralDetails{};
  }
  const FoundPoint p = FundamentalMarkerPoint(ctx, deltaT, arg.phi1, arg.hourAngle);
  if (p.status != Status::Ok) {
    WriteDiagnostic(ctx, kNoCentralPoint);
    return CentralDetails{};
  }
  ctx.centralUmbraRadius = l2p;
  d.status = Status::Ok;
  d.lon = p.lon;
  d.lat = p.lat;
  d.alt = p.alt;
  return d;
}

}  // namespace vernier
