#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bessel/central_line.h"
#include "bessel/earth_point.h"
#include "bessel/limit_points.h"
#include "support/path_fixture.h"
#include "support/published_eclipses.h"

namespace vernier {
namespace {

using testing::DiagnosticCapture;
using testing::PathFixture;
using testing::StraightShadowRecord;
using Kind = DrawCall::Kind;

// Great-circle distance in degrees.
double Separation(double lon1, double lat1, double lon2, double lat2) {
  const double r = 0.017453292519943295;
  const double c = std::sin(lat1 * r) * std::sin(lat2 * r) +
                   std::cos(lat1 * r) * std::cos(lat2 * r) * std::cos((lon1 - lon2) * r);
  return std::acos(std::fmin(1.0, c)) / r;
}

TEST(CentralPoint, AxisMissingTheEarthFindsNothingWhileTheLimitsMayStillBeFound) {
  // The axis passes 1.1 radii north of the centre: off the Earth, while the
  // southern part of the shadow sweeps over the northern hemisphere.
  PathFixture f(StraightShadowRecord(1.1));
  DiagnosticCapture diagnostics(f.ctx);
  f.ctx.centralUmbraRadius = 0.123;
  const FoundPoint c = CentralPoint(f.ctx, 0, 69);
  EXPECT_EQ(c.status, Status::Failed);
  EXPECT_EQ(diagnostics.Text(), " no central point\n");
  EXPECT_EQ(CentralUmbraRadius(f.ctx), 0.123);  // kept from the last point found

  EXPECT_EQ(PenumbralLimitPoint(f.ctx, 0, 69, Side::Plus).status, Status::Ok);
  EXPECT_EQ(UmbralLimitPoint(f.ctx, 0, 69, Side::Plus).status, Status::Ok);
  EXPECT_EQ(diagnostics.Text(), " no central point\n");
  // The northern limit is off the Earth too.
  EXPECT_EQ(UmbralLimitPoint(f.ctx, 0, 69, Side::Minus).status, Status::Failed);
  EXPECT_EQ(diagnostics.Text(), " no central point\n no umbra point\n");

  // On the Earth: found, and the inner radius kept (no cone: L2' = l2).
  PathFixture g(StraightShadowRecord());
  const FoundPoint on = CentralPoint(g.ctx, 0, 69);
  EXPECT_EQ(on.status, Status::Ok);
  EXPECT_DOUBLE_EQ(CentralUmbraRadius(g.ctx), 0.2725);
}

TEST(CentralPoint, TheConeShrinksTheInnerRadiusAtTheSurface) {
  BesselianElements e = StraightShadowRecord(0.0);
  e.l20 = -0.01;
  e.tanf2 = 0.0046;
  PathFixture f(e);
  ASSERT_EQ(CentralPoint(f.ctx, 0, 0).status, Status::Ok);
  // The axis meets the Earth near the sub-shadow point: zeta close to 1.
  EXPECT_NEAR(CentralUmbraRadius(f.ctx), -0.01 - 0.0046, 0.0001);
  EXPECT_LT(CentralUmbraRadius(f.ctx), -0.01 - 0.0046 * 0.98);
}

TEST(LimitPoints, ShiftedAndFractionalEdgesAgreeWithTheirPlainForms) {
  PathFixture f(StraightShadowRecord());
  for (double t : {-1.0, 0.0, 0.8}) {
    for (Side side : kBothSides) {
      // Offset 0 is exactly the plain inner limit.
      const FoundPoint plain = UmbralLimitPoint(f.ctx, t, 69, side);
      const FoundPoint zero = UmbralLimitOffsetPoint(f.ctx, t, 69, side, 0);
      ASSERT_EQ(plain.status, Status::Ok);
      EXPECT_EQ(zero.status, Status::Ok);
      EXPECT_EQ(zero.lon, plain.lon);
      EXPECT_EQ(zero.lat, plain.lat);
      // m = 0 is the outer limit; what five passes instead of three still
      // move it (the fixed iteration's convergence) stays near 100 m, far
      // below the 2 km of one second of arc.
      const FoundPoint outer = PenumbralLimitPoint(f.ctx, t, 69, side);
      const FoundPoint m0 = MagnitudeCurvePoint(f.ctx, t, 69, 0, side);
      ASSERT_EQ(outer.status, Status::Ok);
      ASSERT_EQ(m0.status, Status::Ok);
      EXPECT_LT(Separation(outer.lon, outer.lat, m0.lon, m0.lat), 0.002);
      // One second of arc moves the limit by about 0.0002923 radii (1.9 km):
      // offset -1 enlarges the shadow, +1 shrinks it.
      const FoundPoint central = CentralPoint(f.ctx, t, 69);
      const FoundPoint wider = UmbralLimitOffsetPoint(f.ctx, t, 69, side, -1);
      const FoundPoint narrower = UmbralLimitOffsetPoint(f.ctx, t, 69, side, 1);
      const double d0 = Separation(central.lon, central.lat, plain.lon, plain.lat);
      const double dw = Separation(central.lon, central.lat, wider.lon, wider.lat);
      const double dn = Separation(central.lon, central.lat, narrower.lon, narrower.lat);
      EXPECT_GT(dw - d0, 0.010);
      EXPECT_LT(dw - d0, 0.030);
      EXPECT_GT(d0 - dn, 0.010);
      EXPECT_LT(d0 - dn, 0.030);
    }
  }
}

TEST(LimitPoints, SidePlusOneIsTheSouthernLimitOfAPositiveShadow) {
  PathFixture f(StraightShadowRecord());
  const FoundPoint central = CentralPoint(f.ctx, 0, 69);
  const FoundPoint south = UmbralLimitPoint(f.ctx, 0, 69, Side::Plus);
  const FoundPoint north = UmbralLimitPoint(f.ctx, 0, 69, Side::Minus);
  EXPECT_LT(south.lat, central.lat);
  EXPECT_GT(north.lat, central.lat);
  // The Moon's radius is 1738 km: each limit about 15.6 degrees from the centre line.
  EXPECT_NEAR(Separation(central.lon, central.lat, south.lon, south.lat), 15.6, 1.5);
  // For a star (l1 = l2) the fraction m runs across the whole path: 0 is
  // this side's limit, 0.5 the central line, 1 the other side's limit.
  const FoundPoint m0 = MagnitudeCurvePoint(f.ctx, 0, 69, 0, Side::Plus);
  const FoundPoint half = MagnitudeCurvePoint(f.ctx, 0, 69, 0.5, Side::Plus);
  const FoundPoint m1 = MagnitudeCurvePoint(f.ctx, 0, 69, 1, Side::Plus);
  EXPECT_LT(Separation(m0.lon, m0.lat, south.lon, south.lat), 0.05);
  EXPECT_LT(Separation(half.lon, half.lat, central.lon, central.lat), 0.05);
  EXPECT_LT(Separation(m1.lon, m1.lat, north.lon, north.lat), 0.05);
}

TEST(LimitPoints, EdgeOffTheEarthAndNonFiniteValuesAreNoPoint) {
  PathFixture f(StraightShadowRecord(0.0));
  DiagnosticCapture diagnostics(f.ctx);
  // Far east of the Earth the whole shadow is off it.
  EXPECT_EQ(UmbralLimitPoint(f.ctx, 4, 69, Side::Plus).status, Status::Failed);
  EXPECT_EQ(UmbralLimitOffsetPoint(f.ctx, 4, 69, Side::Plus, 1).status, Status::Failed);
  EXPECT_EQ(PenumbralLimitPoint(f.ctx, 4, 69, Side::Minus).status, Status::Failed);
  EXPECT_EQ(MagnitudeCurvePoint(f.ctx, 4, 69, 0.4, Side::Minus).status, Status::Failed);
  EXPECT_EQ(diagnostics.Text(),
            " no umbra point\n no umbra point\n no penumbra point\n no penumbra point\n");

  // A shadow that does not move: b = c = 0 makes the first direction 0/0.
  BesselianElements still = StraightShadowRecord(0.0);
  still.x1 = 0;
  still.y1 = 0;
  still.mu1 = 0;
  PathFixture g(still);
  DiagnosticCapture stillDiagnostics(g.ctx);
  EXPECT_EQ(UmbralLimitPoint(g.ctx, 0, 69, Side::Plus).status, Status::Failed);
  EXPECT_EQ(PenumbralLimitPoint(g.ctx, 0, 69, Side::Plus).status, Status::Failed);
  EXPECT_EQ(MagnitudeCurvePoint(g.ctx, 0, 69, 0.2, Side::Plus).status, Status::Failed);
  EXPECT_EQ(stillDiagnostics.Text(), " no umbra point\n no penumbra point\n no penumbra point\n");

  // NaN elements: nothing anywhere, no crash.
  BesselianElements broken = StraightShadowRecord();
  broken.x0 = std::numeric_limits<double>::quiet_NaN();
  PathFixture h(broken);
  EXPECT_EQ(CentralPoint(h.ctx, 0, 69).status, Status::Failed);
  EXPECT_EQ(UmbralLimitPoint(h.ctx, 0, 69, Side::Plus).status, Status::Failed);
  EXPECT_EQ(CentralPointDetails(h.ctx, 0, 69).status, Status::Failed);
}

BesselianElements WithNanX0(BesselianElements e) {
  e.x0 = std::numeric_limits<double>::quiet_NaN();
  return e;
}

// The trace takes the finders in pairs; each point of a pair must be exactly
// the point its single finder gives, found or missing, with the same
// diagnostics: off the Earth on one side only, on both, and a negative l2.
TEST(LimitPoints, PairsAreExactlyTheSingleFinders) {
  const auto eclipse = testing::TotalEclipse2024Apr08();
  const struct {
    BesselianElements elements;
    double deltaT;
  } cases[] = {{StraightShadowRecord(), 69}, {StraightShadowRecord(1.1), 69},
               {eclipse.elements, eclipse.deltaT},
               // Damaged input: no point anywhere, and a Delta T that makes the Sun NaN.
               {WithNanX0(StraightShadowRecord()), 69}, {StraightShadowRecord(), 1e308}};
  int found = 0, missing = 0;
  for (const auto& c : cases) {
    PathFixture pairs(c.elements), singles(c.elements);
    DiagnosticCapture pairText(pairs.ctx), singleText(singles.ctx);
    for (double t = -4; t <= 4; t += 0.125) {
      const double dT = c.deltaT;
      auto expectSame = [&](const SidePoints& pair, const FoundPoint& first,
                            const FoundPoint& second) {
        for (int k = 0; k < 2; ++k) {
          const FoundPoint& single = k == 0 ? first : second;
          ASSERT_EQ(pair[k].status, single.status) << t << " lane " << k;
          (single.status == Status::Ok ? found : missing)++;
          if (single.status != Status::Ok) continue;
          EXPECT_EQ(pair[k].lon, single.lon) << t;
          EXPECT_EQ(pair[k].lat, single.lat) << t;
          EXPECT_EQ(pair[k].alt, single.alt) << t;
          EXPECT_EQ(pair[k].daylight, single.daylight) << t;
        }
      };
      expectSame(UmbralLimitPoints(pairs.ctx, t, dT), UmbralLimitPoint(singles.ctx, t, dT, Side::Plus),
                 UmbralLimitPoint(singles.ctx, t, dT, Side::Minus));
      expectSame(UmbralLimitOffsetPoints(pairs.ctx, t, dT, Side::Minus, 1, -1),
                 UmbralLimitOffsetPoint(singles.ctx, t, dT, Side::Minus, 1),
                 UmbralLimitOffsetPoint(singles.ctx, t, dT, Side::Minus, -1));
      expectSame(PenumbralLimitPoints(pairs.ctx, t, dT), PenumbralLimitPoint(singles.ctx, t, dT, Side::Plus),
                 PenumbralLimitPoint(singles.ctx, t, dT, Side::Minus));
      for (double m : {0.0, 0.3, 0.9})
        expectSame(MagnitudeCurvePoints(pairs.ctx, t, dT, m),
                   MagnitudeCurvePoint(singles.ctx, t, dT, m, Side::Plus),
                   MagnitudeCurvePoint(singles.ctx, t, dT, m, Side::Minus));
    }
    EXPECT_EQ(pairText.Text(), singleText.Text());
  }
  EXPECT_GT(found, 500);
  EXPECT_GT(missing, 500);
}

TEST(LimitPoints, DiagnosticsOnlyFromLevelOne) {
  PathFixture f(StraightShadowRecord(0.0));
  DiagnosticCapture diagnostics(f.ctx);
  f.ctx.diagnosticLevel = 0;
  EXPECT_EQ(CentralPoint(f.ctx, 5, 69).status, Status::Failed);
  EXPECT_EQ(UmbralLimitPoint(f.ctx, 5, 69, Side::Plus).status, Status::Failed);
  EXPECT_EQ(diagnostics.Text(), "");
  f.ctx.diagnosticLevel = 2;
  EXPECT_EQ(UmbralLimitPoint(f.ctx, 5, 69, Side::Plus).status, Status::Failed);
  EXPECT_EQ(diagnostics.Text(), " no umbra point\n");
}

TEST(CentralPointDetails, CircumstancesOfAStraightTotalShadow) {
  BesselianElements e = StraightShadowRecord(-0.3);
  e.l10 = 0.54;
  e.l20 = -0.01;
  e.tanf1 = 0.0047;
  e.tanf2 = 0.0046;
  PathFixture f(e);
  const CentralDetails d = CentralPointDetails(f.ctx, 0, 60);
  ASSERT_EQ(d.status, Status::Ok);
  EXPECT_DOUBLE_EQ(d.gamma, -0.3);  // signed: the axis passes south
  EXPECT_GT(d.magnitude, 1);        // total
  EXPECT_LT(d.duration, 0);         // 2 L2' / n with a negative L2'
  EXPECT_GT(d.width, 100);
  EXPECT_LT(d.width, 300);
  // The same point as the central line's, with the body's altitude there.
  const FoundPoint central = CentralPoint(f.ctx, 0, 60);
  EXPECT_NEAR(d.lon, central.lon, 1e-9);
  EXPECT_NEAR(d.lat, central.lat, 1e-9);
  EXPECT_NEAR(d.alt, central.alt, 1e-9);
}

}  // namespace
}  // namespace vernier
