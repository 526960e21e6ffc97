// The fitted polynomials against the ephemeris they come from: the fit
// residuals between the samples, and observers' contact times from the
// elements against contact times computed directly from the ephemeris.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "event.h"
#include "local_contacts.h"
#include "program_calendar.h"
#include "search.h"
#include "shadow.h"
#include "star_catalogue.h"

namespace vernier::canon {
namespace {

constexpr char kStellarium[] = "/usr/share/stellarium/stars/default";
constexpr char kSwissFiles[] = "/usr/share/libswe/ephe/semo_18.se1";

class FitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kStellarium) || !std::filesystem::exists(kSwissFiles))
      GTEST_SKIP() << "needs stellarium-data and swe-basic-data installed";
    std::string error;
    ASSERT_TRUE(ReadStellariumCatalogue(kStellarium, 5.0, stars_, error)) << error;
    KeepNearEcliptic(stars_, 8.0, 2022, 2022);
    for (auto& s : stars_) s.xz = s.hip;
    ephemeris_ = MakeSwissEphemeris("");
    // Two weeks of 2022 with every kind of event: stars, central and not,
    // and the planets.
    const double jd = ProgramJulianDate(2022, 7, 1, 0);
    ASSERT_TRUE(FindEvents(*ephemeris_, stars_, jd, jd + 25, SearchOptions{}, records_, stats_, error))
        << error;
    ASSERT_GT(records_.size(), 20u);
  }

  const CatalogueStar* StarOf(const ElementRecord& r) const {
    for (const auto& s : stars_)
      if (s.hip == r.hip) return &s;
    return nullptr;
  }

  std::vector<CatalogueStar> stars_;
  std::unique_ptr<Ephemeris> ephemeris_;
  std::vector<ElementRecord> records_;
  SearchStats stats_;
};

double Poly(std::initializer_list<double> c, double t) {
  double p = 0.0, tn = 1.0;
  for (double v : c) {
    p += v * tn;
    tn *= t;
  }
  return p;
}

TEST_F(FitTest, PolynomialsFollowTheShadowBetweenTheSamples) {
  EXPECT_LT(stats_.worstXY, 1e-6);
  ShadowEvaluator evaluator(*ephemeris_);
  double worstXY = 0.0, worstMu = 0.0, worstD = 0.0, worstL = 0.0;
  int planets = 0;
  for (const auto& r : records_) {
    EventBody body;
    body.star = StarOf(r);
    if (!body.star) {
      body.planet = static_cast<int>(r.xz);
      ++planets;
    }
    ASSERT_TRUE(evaluator.HoldDeflection(body, r.jd));  // as the generator does, at least distance
    // Off the sample grid, over ±2 hours.
    for (double t = -2.0 + 0.07; t < 2.0; t += 0.4) {
      ShadowState s;
      ASSERT_TRUE(evaluator.Evaluate(body, r.jd + t / 24.0, s)) << evaluator.error();
      worstXY = std::max({worstXY, std::fabs(Poly({r.x0, r.x1, r.x2, r.x3}, t) - s.x),
                          std::fabs(Poly({r.y0, r.y1, r.y2, r.y3}, t) - s.y)});
      worstD = std::max(worstD, std::fabs(Poly({r.d0, r.d1, r.d2}, t) - s.d));
      worstMu = std::max(worstMu, std::fabs(std::remainder(Poly({r.mu0, r.mu1}, t) - s.mu, 360.0)));
      worstL = std::max({worstL, std::fabs(Poly({r.l10, r.l11, r.l12}, t) - s.l1),
                         std::fabs(Poly({r.l20, r.l21, r.l22}, t) - s.l2)});
    }
  }
  EXPECT_GT(planets, 0);
  EXPECT_LT(worstXY, 1e-6);      // Earth radii: 6 mm
  EXPECT_LT(worstD, 1e-6);       // degrees
  EXPECT_LT(worstMu, 1e-4);      // degrees: 0.36", 11 m at the equator
  EXPECT_LT(worstL, 1e-7);
  std::printf("between samples: x, y %.1e, d %.1e deg, mu %.1e deg, l %.1e\n", worstXY, worstD, worstMu, worstL);
}

TEST_F(FitTest, ContactsFromElementsAgreeWithTheEphemeris) {
  constexpr double kDeltaT = 69.2;
  int compared = 0;
  double worst = 0.0;
  for (const auto& r : records_) {
    const CatalogueStar* star = StarOf(r);
    if (!star) continue;
    for (double lat = -60; lat <= 60; lat += 30) {
      for (double lon = -180; lon < 180; lon += 30) {
        const testing::Observer observer{lat, lon, 500.0};
        const testing::Contacts fromElements = testing::ContactsFromElements(r, observer, kDeltaT, false);
        if (!fromElements.found) continue;
        const testing::Contacts direct =
            testing::ContactsFromEphemeris(*ephemeris_, *star, r, observer, kDeltaT, fromElements);
        ASSERT_TRUE(direct.found) << r.hip << " at " << lat << ", " << lon;
        worst = std::max({worst, std::fabs(direct.first - fromElements.first) * 3600.0,
                          std::fabs(direct.last - fromElements.last) * 3600.0});
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 30);
  EXPECT_LT(worst, 0.1);  // seconds
  std::printf("%d observers: contacts from the elements within %.3f s of the ephemeris\n", compared, worst);
}

TEST_F(FitTest, WrittenRecordsGiveBackTheirInstants) {
  const std::string path = ::testing::TempDir() + "canon_fit_records.PRN";
  std::string error;
  ASSERT_TRUE(WriteElementFile(path, records_, error)) << error;
  std::vector<ElementRecord> back;
  ASSERT_TRUE(ReadElementFile(path, back, error)) << error;
  ASSERT_EQ(back.size(), records_.size());
  for (size_t i = 0; i < back.size(); ++i) {
    const ElementRecord& r = back[i];
    // The date and t0 as read give the instant the generator computed.
    EXPECT_DOUBLE_EQ(testing::ProgramJulianDateForTest(r.year, r.month, r.day, r.t0), records_[i].jd);
    EXPECT_NEAR(r.jd, records_[i].jd, 5e-7);
    EXPECT_EQ(r.t0, std::floor(r.t0));
    EXPECT_TRUE(r.t0 >= 0 && r.t0 < 24);
    if (i > 0) {
      EXPECT_LE(back[i - 1].jd, r.jd);  // date order
    }
    // Writing keeps the fit: x and y at ±2 h move by far less than the residual.
    for (double t : {-2.0, 2.0}) {
      EXPECT_NEAR(Poly({r.x0, r.x1, r.x2, r.x3}, t),
                  Poly({records_[i].x0, records_[i].x1, records_[i].x2, records_[i].x3}, t), 1e-9);
      EXPECT_NEAR(Poly({r.y0, r.y1, r.y2, r.y3}, t),
                  Poly({records_[i].y0, records_[i].y1, records_[i].y2, records_[i].y3}, t), 1e-9);
      EXPECT_NEAR(Poly({r.mu0, r.mu1}, t), Poly({records_[i].mu0, records_[i].mu1}, t), 1e-8);
    }
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vernier::canon
