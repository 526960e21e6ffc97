#include "bessel/limit_points.h"

#include <cmath>

#include "bessel/earth_point.h"

namespace vernier {

namespace {

constexpr char kNoUmbraPoint[] = " no umbra point\n";
constexpr char kNoPenumbraPoint[] = " no penumbra point\n";

enum class EdgeKind { Umbral, Penumbral, Magnitude };

// Which edge, and the constant part of its radius on later passes.
struct EdgeSpec {
  EdgeKind kind;
  int passes;
  double radiusShift;  // umbral: subtracted from l2 (the offset); magnitude: m
  const char* diagnostic;
};

// The radius L for the first pass (zeta = 0) and, given zeta, for later ones.
double EdgeRadius(const EdgeSpec& edge, const BesselianState& s, const BesselianElements& e,
                  double zeta) {
  switch (edge.kind) {
    case EdgeKind::Umbral:
      return s.l2 - edge.radiusShift - zeta * e.tanf2;
    case EdgeKind::Penumbral:
      return s.l1 - zeta * e.tanf1;
    case EdgeKind::Magnitude: {
      const double l1p = s.l1 - zeta * e.tanf1;
      const double l2p = s.l2 - zeta * e.tanf2;
      return l1p - edge.radiusShift * (l1p + l2p);
    }
  }
  return 0;
}

// The sine and cosine of atan(r), from the ratio itself: the angle lies
// within ±90°, so its cosine is positive. Beyond the ratios where the square
// overflows (and for a NaN) the angle is taken the long way.
void SinCosOfArcTangent(double r, double& sine, double& cosine) {
  if (std::fabs(r) < 1e150) {
    const double h = std::sqrt(1 + r * r);
    sine = r / h;
    cosine = 1 / h;
    return;
  }
  const double q = std::atan(r);
  sine = std::sin(q);
  cosine = std::cos(q);
}

FoundPoint EdgePoint(PathContext& ctx, double t, double deltaT, int side, const EdgeSpec& edge) {
  const BesselianElements& e = ctx.elements;
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  const bool inner = edge.kind == EdgeKind::Umbral;
  const double a = inner ? s.a2 : s.a1;
  const double c = inner ? s.c2 : s.c1;
  const double sideSign = side;

  // The first pass takes the edge at zeta = 0, which the formula gives too.
  double radius = EdgeRadius(edge, s, e, 0);
  double sq, cq;
  SinCosOfArcTangent(s.b / c, sq, cq);
  double xi = 0, eta1 = 0, zeta1 = 0;
  for (int pass = 0; pass < edge.passes; ++pass) {
    xi = s.x - sideSign * radius * sq;
    eta1 = (s.y - sideSign * radius * cq) / s.rho1;
    const double w = 1 - xi * xi - eta1 * eta1;
    if (!(w >= 0)) {  // off the Earth, or not a number
      WriteDiagnostic(ctx, edge.diagnostic);
      return {};
    }
    zeta1 = std::sqrt(w);
    if (pass + 1 == edge.passes) break;  // the direction for a further pass is not needed
    const double zeta = s.rho2 * (zeta1 * s.cosd1d2 - eta1 * s.sind1d2);
    const double A = c - s.mud * zeta * s.cosd;
    const double B = s.b - zeta * s.dd - a / (sideSign * cq);
    SinCosOfArcTangent(B / A, sq, cq);
    radius = EdgeRadius(edge, s, e, zeta);
  }
  const FoundPoint p = PlanePoint(ctx, t, deltaT, xi, eta1, zeta1);
  if (p.status != Status::Ok) WriteDiagnostic(ctx, edge.diagnostic);
  return p;
}

}  // namespace

FoundPoint UmbralLimitPoint(PathContext& ctx, double t, double deltaT, int side) {
  return EdgePoint(ctx, t, deltaT, side, {EdgeKind::Umbral, 2, 0, kNoUmbraPoint});
}

FoundPoint UmbralLimitOffsetPoint(PathContext& ctx, double t, double deltaT, int side,
                                  double offset) {
  return EdgePoint(ctx, t, deltaT, side,
                   {EdgeKind::Umbral, 2, offset * kOneSecondOffset, kNoUmbraPoint});
}

FoundPoint PenumbralLimitPoint(PathContext& ctx, double t, double deltaT, int side) {
  return EdgePoint(ctx, t, deltaT, side, {EdgeKind::Penumbral, 3, 0, kNoPenumbraPoint});
}

FoundPoint MagnitudeCurvePoint(PathContext& ctx, double t, double deltaT, double m, int side) {
  return EdgePoint(ctx, t, deltaT, side, {EdgeKind::Magnitude, 5, m, kNoPenumbraPoint});
}

}  // namespace vernier
