#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bessel/contacts.h"
#include "bessel/greatest_occultation.h"
#include "support/path_fixture.h"

namespace vernier {
namespace {

using testing::PathFixture;
using testing::StraightShadowRecord;
using Kind = DrawCall::Kind;

TEST(Contacts, AShadowCrossingTheCentreTouchesAtOnePlusLOverTheSpeed) {
  // x = 0.5 t, y = 0: the axis crosses the Earth's centre along the equator of
  // the fundamental plane, where the Earth's radius R is exactly 1.
  BesselianElements e = StraightShadowRecord(0.0);
  e.x1 = 0.5;
  e.y1 = 0;
  PathFixture f(e);
  const ContactResult first = PenumbralContact(f.ctx, 0, 60, Side::Minus);
  const ContactResult last = PenumbralContact(f.ctx, 0, 60, Side::Plus);
  ASSERT_EQ(first.status, Status::Ok);
  ASSERT_EQ(last.status, Status::Ok);
  EXPECT_NEAR(first.t, -(1 + 0.2725) / 0.5, 1e-12);
  EXPECT_NEAR(last.t, (1 + 0.2725) / 0.5, 1e-12);
  // The points are on the limb, where the body is on the horizon.
  EXPECT_NEAR(first.alt, 0, 1e-6);
  EXPECT_NEAR(last.alt, 0, 1e-6);
  // The inner contact takes |l2|: a negative l2 gives the same instants.
  f.elements.l20 = -0.2725;
  const ContactResult inner = UmbralContact(f.ctx, 0, 60, Side::Plus);
  EXPECT_NEAR(inner.t, last.t, 1e-12);
  EXPECT_EQ(inner.lon, last.lon);
  EXPECT_EQ(inner.lat, last.lat);
}

TEST(Contacts, NoContactWhenTheShadowMissesOrStandsStill) {
  PathFixture miss(StraightShadowRecord(1.5));  // passes 1.5 radii north
  EXPECT_EQ(PenumbralContact(miss.ctx, 0, 60, Side::Minus).status, Status::Failed);
  EXPECT_EQ(UmbralContact(miss.ctx, 0, 60, Side::Plus).status, Status::Failed);
  BesselianElements still = StraightShadowRecord(0.0);
  still.x1 = still.y1 = 0;
  PathFixture g(still);
  EXPECT_EQ(PenumbralContact(g.ctx, 0, 60, Side::Plus).status, Status::Failed);
}

TEST(GreatestOccultation, NonCentralTypesReportNoDurationOrWidthAndAnUnsignedGamma) {
  // The axis passes about 1.2 radii south of the centre.
  BesselianElements e = StraightShadowRecord(-1.2);
  e.type = 5;
  PathFixture f(e);
  const GreatestOccultationResult g = GreatestOccultation(f.ctx, 0, 60, 5);
  ASSERT_EQ(g.status, Status::Ok);
  ASSERT_EQ(g.pointStatus, Status::Ok);
  // Closest approach of (0.55 t, -1.2 + 0.05 t).
  const double tMin = 1.2 * 0.05 / (0.55 * 0.55 + 0.05 * 0.05);
  EXPECT_NEAR(g.t, tMin, 1e-6);
  EXPECT_EQ(g.duration, 0);
  EXPECT_EQ(g.width, 0);
  EXPECT_GT(g.gamma, 1);  // unsigned although the axis passes south
  EXPECT_NEAR(g.gamma, std::hypot(0.55 * tMin, -1.2 + 0.05 * tMin), 1e-6);
  // The point lies on the limb toward the axis: southern, body on the horizon.
  EXPECT_LT(g.lat, 0);
  EXPECT_NEAR(g.alt, 0, 1e-6);
  // (l1 - (rho - R)) / (l1 + l2): partly covered, less than half here.
  EXPECT_GT(g.magnitude, 0);
  EXPECT_LT(g.magnitude, 0.5);

  // A central type at the same geometry has no central point to take.
  const GreatestOccultationResult central = GreatestOccultation(f.ctx, 0, 60, 2);
  EXPECT_EQ(central.status, Status::Ok);
  EXPECT_EQ(central.pointStatus, Status::Failed);
}

TEST(GreatestOccultation, NoMotionOrBrokenElementsEndWithoutAResult) {
  BesselianElements still = StraightShadowRecord(0.3);
  still.x1 = still.y1 = 0;
  PathFixture g(still);
  EXPECT_EQ(GreatestOccultation(g.ctx, 0, 60, 2).status, Status::Failed);
  BesselianElements broken = StraightShadowRecord();
  broken.y1 = std::numeric_limits<double>::infinity();
  PathFixture h(broken);
  EXPECT_EQ(GreatestOccultation(h.ctx, 0, 60, 2).status, Status::Failed);
}

}  // namespace
}  // namespace vernier
