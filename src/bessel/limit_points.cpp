#include "bessel/limit_points.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "bessel/earth_point.h"

namespace vernier {

namespace {

constexpr char kNoUmbraPoint[] = " no umbra point\n";
constexpr char kNoPenumbraPoint[] = " no penumbra point\n";

enum class EdgeKind { Umbral, Penumbral, Magnitude };

// Which edge and how many passes.
struct EdgeSpec {
  EdgeKind kind;
  int passes;
  const char* diagnostic;
};

// One point sought on the edge: its side and the constant part of its radius
// on later passes (umbral: subtracted from l2, the offset; magnitude: m).
struct EdgeLane {
  Side side;
  double radiusShift;
};

// The radius L for the first pass (zeta = 0) and, given zeta, for later ones.
double EdgeRadius(EdgeKind kind, double radiusShift, const BesselianState& s,
                  const BesselianElements& e, double zeta) {
  switch (kind) {
    case EdgeKind::Umbral:
      return s.l2 - radiusShift - zeta * e.tanf2;
    case EdgeKind::Penumbral:
      return s.l1 - zeta * e.tanf1;
    case EdgeKind::Magnitude: {
      const double l1p = s.l1 - zeta * e.tanf1;
      const double l2p = s.l2 - zeta * e.tanf2;
      return l1p - radiusShift * (l1p + l2p);
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

// The points of N lanes of one edge at one instant. Each lane runs exactly
// the steps of its own fixed-pass iteration; they run side by side only so
// that their serial chains of divisions and square roots overlap. A lane that
// leaves the Earth is reported missing; the others go on.
template <std::size_t N>
std::array<FoundPoint, N> EdgePoints(PathContext& ctx, double t, double deltaT,
                                     const EdgeSpec& edge, const std::array<EdgeLane, N>& lanes) {
  const BesselianElements& e = ctx.elements;
  EvaluateAt(ctx, t);
  const BesselianState& s = ctx.state;
  const bool inner = edge.kind == EdgeKind::Umbral;
  const double a = inner ? s.a2 : s.a1;
  const double c = inner ? s.c2 : s.c1;

  double sideSign[N] = {}, radius[N] = {}, sq[N] = {}, cq[N] = {};
  double xi[N] = {}, eta1[N] = {}, zeta1[N] = {};
  bool onEarth[N];
  for (std::size_t k = 0; k < N; ++k) {
    sideSign[k] = Sign(lanes[k].side);
    // The first pass takes the edge at zeta = 0, which the formula gives too.
    radius[k] = EdgeRadius(edge.kind, lanes[k].radiusShift, s, e, 0);
    SinCosOfArcTangent(s.b / c, sq[k], cq[k]);
    onEarth[k] = true;
  }
  for (int pass = 0; pass < edge.passes; ++pass) {
    bool anyOnEarth = false;
    for (std::size_t k = 0; k < N; ++k) {
      xi[k] = s.x - sideSign[k] * radius[k] * sq[k];
      eta1[k] = (s.y - sideSign[k] * radius[k] * cq[k]) / s.rho1;
      const double w = 1 - xi[k] * xi[k] - eta1[k] * eta1[k];
      onEarth[k] = onEarth[k] && w >= 0;  // off the Earth, or not a number
      zeta1[k] = onEarth[k] ? std::sqrt(w) : 0;
      anyOnEarth = anyOnEarth || onEarth[k];
    }
    // Stop when no lane is left, or when the direction for a further pass is not needed.
    if (!anyOnEarth || pass + 1 == edge.passes) break;
    double ratio[N], zeta[N];
    for (std::size_t k = 0; k < N; ++k) {
      zeta[k] = s.rho2 * (zeta1[k] * s.cosd1d2 - eta1[k] * s.sind1d2);
      const double A = c - s.mud * zeta[k] * s.cosd;
      const double B = s.b - zeta[k] * s.dd - a / (sideSign[k] * cq[k]);
      ratio[k] = B / A;
    }
    for (std::size_t k = 0; k < N; ++k) {
      if (!onEarth[k]) continue;  // its NaNs would take the slow way round
      SinCosOfArcTangent(ratio[k], sq[k], cq[k]);
      radius[k] = EdgeRadius(edge.kind, lanes[k].radiusShift, s, e, zeta[k]);
    }
  }
  std::array<FoundPoint, N> found{};
  for (std::size_t k = 0; k < N; ++k) {
    if (onEarth[k]) found[k] = PlanePoint(ctx, t, deltaT, xi[k], eta1[k], zeta1[k]);
    if (found[k].status != Status::Ok) WriteDiagnostic(ctx, edge.diagnostic);
  }
  return found;
}

constexpr EdgeSpec kUmbralEdge{EdgeKind::Umbral, 2, kNoUmbraPoint};
constexpr EdgeSpec kPenumbralEdge{EdgeKind::Penumbral, 3, kNoPenumbraPoint};
constexpr EdgeSpec kMagnitudeEdge{EdgeKind::Magnitude, 5, kNoPenumbraPoint};

}  // namespace

FoundPoint UmbralLimitPoint(PathContext& ctx, double t, double deltaT, Side side) {
  return EdgePoints<1>(ctx, t, deltaT, kUmbralEdge, {{{side, 0}}})[0];
}

FoundPoint UmbralLimitOffsetPoint(PathContext& ctx, double t, double deltaT, Side side,
                                  double offset) {
  return EdgePoints<1>(ctx, t, deltaT, kUmbralEdge, {{{side, offset * kOneSecondOffset}}})[0];
}

FoundPoint PenumbralLimitPoint(PathContext& ctx, double t, double deltaT, Side side) {
  return EdgePoints<1>(ctx, t, deltaT, kPenumbralEdge, {{{side, 0}}})[0];
}

FoundPoint MagnitudeCurvePoint(PathContext& ctx, double t, double deltaT, double m, Side side) {
  return EdgePoints<1>(ctx, t, deltaT, kMagnitudeEdge, {{{side, m}}})[0];
}

SidePoints UmbralLimitPoints(PathContext& ctx, double t, double deltaT) {
  return EdgePoints<2>(ctx, t, deltaT, kUmbralEdge, {{{Side::Plus, 0}, {Side::Minus, 0}}});
}

SidePoints UmbralLimitOffsetPoints(PathContext& ctx, double t, double deltaT, Side side,
                                   double firstOffset, double secondOffset) {
  return EdgePoints<2>(ctx, t, deltaT, kUmbralEdge,
                       {{{side, firstOffset * kOneSecondOffset},
                         {side, secondOffset * kOneSecondOffset}}});
}

SidePoints PenumbralLimitPoints(PathContext& ctx, double t, double deltaT) {
  return EdgePoints<2>(ctx, t, deltaT, kPenumbralEdge, {{{Side::Plus, 0}, {Side::Minus, 0}}});
}

SidePoints MagnitudeCurvePoints(PathContext& ctx, double t, double deltaT, double m) {
  return EdgePoints<2>(ctx, t, deltaT, kMagnitudeEdge, {{{Side::Plus, m}, {Side::Minus, m}}});
}

}  // namespace vernier
