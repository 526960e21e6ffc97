#include "bessel/rise_set_points.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/path_fixture.h"
#include "support/published_eclipses.h"

namespace vernier {
namespace {

using testing::DiagnosticCapture;
using testing::PathFixture;
using testing::StraightShadowRecord;
using testing::TotalEclipse2024Apr08;

constexpr double kRad = 0.017453292519943295;

// Where a geographic point (on the sphere) lies on the fundamental plane at
// the state's instant: (xi, eta) with the hour angle taken back from the
// longitude the conversion gave.
void PlanePosition(const BesselianState& s, double deltaT, double lon, double lat, double& xi,
                   double& eta) {
  const double h = (s.mu + lon - 0.00417807 * deltaT) * kRad;
  const double phi = lat * kRad;
  xi = std::cos(phi) * std::sin(h);
  eta = std::sin(phi) * s.cosd - std::cos(phi) * s.sind * std::cos(h);
}

TEST(RiseSetPoints, PointsLieOnTheHorizonAtTheOuterShadowsEdge) {
  const auto published = TotalEclipse2024Apr08();
  PathFixture f(published.elements);
  const double dT = published.deltaT;
  int limits = 0, maxima = 0;
  for (double t = -3; t <= 3; t += 0.25) {
    for (Side side : kBothSides) {
      const FoundPoint p = RiseSetLimitPoint(f.ctx, t, dT, side);
      if (p.status == Status::Ok) {
        ++limits;
        EXPECT_NEAR(p.alt, 0, 1e-9) << t;  // the body's altitude, returned with the point
        double xi, eta;
        PlanePosition(f.state, dT, p.lon, p.lat, xi, eta);
        const double dx = f.state.x - xi, dy = f.state.y - eta;
        EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), f.state.l1, 1e-9) << t;
      }
      const FoundPoint m = RiseSetMaximumPoint(f.ctx, t, dT, side);
      if (m.status == Status::Ok) {
        ++maxima;
        EXPECT_NEAR(m.alt, 0, 1e-9) << t;
        double xi, eta;
        PlanePosition(f.state, dT, m.lon, m.lat, xi, eta);
        const double dx = f.state.x - xi, dy = f.state.y - eta;
        EXPECT_LE(std::sqrt(dx * dx + dy * dy), f.state.l1) << t;
      }
    }
  }
  // The curves exist while the penumbra straddles the limb, early and late.
  EXPECT_GE(limits, 20);
  EXPECT_GE(maxima, 4);
}

TEST(RiseSetPoints, FailingTestsWriteTheirNumberedLines) {
  PathFixture far(StraightShadowRecord(0.0));
  DiagnosticCapture d1(far.ctx);
  // Shadow axis 2.75 radii away: the penumbra cannot reach the limb.
  EXPECT_EQ(RiseSetLimitPoint(far.ctx, 5, 60, Side::Plus).status, Status::Failed);
  EXPECT_EQ(RiseSetMaximumPoint(far.ctx, 5, 60, Side::Plus).status, Status::Failed);
  EXPECT_EQ(d1.Text(), " no sunriseset point\n no max sunriseset point1\n");

  // Declination 0: the divisor q = -cos(L) sin d vanishes.
  BesselianElements e = StraightShadowRecord(0.0);
  e.d0 = 0;
  PathFixture flat(e);
  DiagnosticCapture d2(flat.ctx);
  EXPECT_EQ(RiseSetLimitPoint(flat.ctx, 1.5, 60, Side::Plus).status, Status::Failed);
  EXPECT_EQ(d2.Text(), " no sunriseset point2\n");
  EXPECT_TRUE(flat.dc.Calls().empty());

  // No shadow motion and no rotation: every guard holds, nothing hangs or draws.
  BesselianElements still = StraightShadowRecord(0.0);
  still.x1 = still.y1 = still.mu1 = 0;
  PathFixture g(still);
  for (Side side : kBothSides) {
    EXPECT_EQ(RiseSetLimitPoint(g.ctx, 0, 60, side).status, Status::Failed);
    EXPECT_EQ(RiseSetMaximumPoint(g.ctx, 0, 60, side).status, Status::Failed);
  }
  EXPECT_TRUE(g.dc.Calls().empty());
}

}  // namespace
}  // namespace vernier
