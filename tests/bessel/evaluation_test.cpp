#include "bessel/evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vernier {
namespace {

BesselianElements SampleElements() {
  BesselianElements e;
  e.x0 = 0.1;  e.x1 = 0.55;  e.x2 = -1e-4; e.x3 = -8e-6;
  e.y0 = 0.3;  e.y1 = -0.15; e.y2 = 2e-4;  e.y3 = 3e-6;
  e.d0 = 20;   e.d1 = -0.01; e.d2 = -2e-6;
  e.mu0 = 300; e.mu1 = 15.0;
  e.l10 = 0.5; e.l11 = 1e-4; e.l12 = -1e-5;
  e.l20 = -0.01; e.l21 = 1e-4; e.l22 = -1e-5;
  e.tanf1 = 0.0046; e.tanf2 = 0.0045;
  return e;
}

TEST(EvaluateElements, AtTheReferenceInstantTheStateIsTheConstantTerms) {
  BesselianElements e = SampleElements();
  BesselianState s;
  EvaluateElements(e, 0, s);
  EXPECT_EQ(s.x, e.x0);
  EXPECT_EQ(s.y, e.y0);
  EXPECT_DOUBLE_EQ(s.d, e.d0 * 0.017453292519943295);
  EXPECT_EQ(s.mu, e.mu0);
  EXPECT_EQ(s.l1, e.l10);
  EXPECT_EQ(s.xd, e.x1);
  EXPECT_EQ(s.yd, e.y1);
  EXPECT_EQ(s.l2d, e.l21);
}

TEST(EvaluateElements, RatesAreTheDerivativesOfTheValues) {
  BesselianElements e = SampleElements();
  BesselianState s, before, after;
  const double t = 1.7, h = 1e-5;
  EvaluateElements(e, t, s);
  EvaluateElements(e, t - h, before);
  EvaluateElements(e, t + h, after);
  EXPECT_NEAR(s.xd, (after.x - before.x) / (2 * h), 1e-8);
  EXPECT_NEAR(s.yd, (after.y - before.y) / (2 * h), 1e-8);
  EXPECT_NEAR(s.dd, (after.d - before.d) / (2 * h), 1e-10);
  EXPECT_NEAR(s.mud, (after.mu - before.mu) / (2 * h) * 0.017453292519943295, 1e-10);
  EXPECT_NEAR(s.l1d, (after.l1 - before.l1) / (2 * h), 1e-8);
  EXPECT_NEAR(s.l2d, (after.l2 - before.l2) / (2 * h), 1e-8);
  // mu is not reduced to a turn.
  EXPECT_DOUBLE_EQ(s.mu, 300 + 15 * t);
}

TEST(EvaluateElements, EllipsoidTermsAreConsistent) {
  BesselianElements e;
  BesselianState s;
  EvaluateElements(e, 0, s);  // d = 0
  EXPECT_DOUBLE_EQ(s.rho1, std::sqrt(0.993305615));
  EXPECT_DOUBLE_EQ(s.rho2, 1);
  EXPECT_EQ(s.sind1, 0);
  EXPECT_DOUBLE_EQ(s.cosd1, 1);

  e = SampleElements();
  EvaluateElements(e, 0.5, s);
  // d1 and d1 − d2 are angles: their sines and cosines lie on the unit circle.
  EXPECT_NEAR(s.sind1 * s.sind1 + s.cosd1 * s.cosd1, 1, 1e-15);
  EXPECT_NEAR(s.sind1d2 * s.sind1d2 + s.cosd1d2 * s.cosd1d2, 1, 1e-15);
}

}  // namespace
}  // namespace vernier
