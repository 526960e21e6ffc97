// The fitted polynomials against the ephemeris they come from: the fit
// residuals between the samples, and observers' contact times from the
// program's local circumstances against contact times computed directly from
// the ephemeris.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "astro/time.h"
#include "ephemeris/event.h"
#include "local_contacts.h"
#include "program_local.h"
#include "ephemeris/search.h"
#include "ephemeris/shadow.h"
#include "catalogue/star_catalogue.h"

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

// The program's own local circumstances, on the records as the program reads
// them, against contacts computed directly from the ephemeris: observers on a
// grid over the globe, and for each event one observer near its graze line,
// found along a meridian where the least distance from the axis is 0.9999 of
// the outer radius (contacts about a minute apart). Both sides take the Delta
// T the program applies.
TEST_F(FitTest, ProgramContactsAgreeWithTheEphemeris) {
  const std::string directory = ::testing::TempDir() + "vernier_canon_program_contacts";
  std::vector<BesselianElements> program;
  std::string error;
  const bool read = testing::ReadBackThroughProgram(records_, directory, program, error);
  std::filesystem::remove_all(directory);
  ASSERT_TRUE(read) << error;
  ASSERT_EQ(program.size(), records_.size());

  constexpr double kGrazeCloseness = 0.9999;
  struct Tally {
    int pairs = 0;     // observer/event pairs
    int contacts = 0;  // instants compared
    double worst = 0.0;
  };
  Tally grid, graze, planets;
  int events = 0, planetEvents = 0, fewestObservers = 1000;
  double shortestGraze = 1e9, longestGraze = 0.0;

  for (size_t i = 0; i < program.size(); ++i) {
    const BesselianElements& e = program[i];
    testing::Body body;
    body.star = StarOf(records_[i]);
    if (!body.star) body.planet = static_cast<int>(e.xz);
    const double deltaT = testing::ProgramDeltaT(e);
    const double jdT0 = testing::ProgramInstantOfT0(e);

    // Program and ephemeris at one observer; the contacts' differences in s.
    auto compare = [&](const testing::Observer& o, Tally& tally) {
      const testing::ProgramCircumstances local = testing::ProgramLocalCircumstances(e, o, deltaT);
      if (!local.outer.found) return local;
      ++tally.pairs;
      for (bool inner : {false, true}) {
        const testing::Contacts& fromProgram = inner ? local.inner : local.outer;
        if (!fromProgram.found || (inner && !body.planet)) continue;
        const testing::Contacts direct =
            testing::ContactsFromEphemeris(*ephemeris_, body, jdT0, e.t0, o, deltaT, inner, fromProgram);
        EXPECT_TRUE(direct.found) << "record " << i << (inner ? " inner" : " outer") << " at " << o.latitude
                                  << ", " << o.longitude;
        if (!direct.found) continue;
        const double diff = std::max(std::fabs(direct.first - fromProgram.first),
                                     std::fabs(direct.last - fromProgram.last)) * 3600.0;
        EXPECT_LT(diff, 0.1) << "record " << i << " (xz " << e.xz << ")" << (inner ? " inner" : " outer")
                             << " at " << o.latitude << ", " << o.longitude << ": program "
                             << testing::Clock(fromProgram.first) << " " << testing::Clock(fromProgram.last)
                             << ", ephemeris " << testing::Clock(direct.first) << " "
                             << testing::Clock(direct.last);
        tally.worst = std::max(tally.worst, diff);
        tally.contacts += 2;
        if (body.planet) {
          planets.worst = std::max(planets.worst, diff);
          planets.contacts += 2;
        }
      }
      if (body.planet) ++planets.pairs;
      return local;
    };

    // The graze search starts from the grid observer nearest the axis.
    int observers = 0;
    double nearest = kGrazeCloseness;
    bool haveInside = false;
    testing::Observer inside;
    for (double lat = -60; lat <= 60; lat += 30) {
      for (double lon = -180; lon < 180; lon += 30) {
        const testing::Observer o{lat, lon, lat == 0 ? 0.0 : 800.0};
        const testing::ProgramCircumstances local = compare(o, grid);
        if (!local.outer.found) continue;
        ++observers;
        if (local.closeness < nearest) {
          nearest = local.closeness;
          inside = o;
          haveInside = true;
        }
      }
    }
    if (!haveInside) continue;  // the shadow missed every grid point: a grazing event

    // Along the inside observer's meridian to where the closeness reaches the
    // graze value, then bisected onto it.
    auto closeness = [&](double lat) {
      const testing::ProgramCircumstances local =
          testing::ProgramLocalCircumstances(e, {lat, inside.longitude, inside.height}, deltaT);
      return local.maximumFound ? local.closeness : 1e9;
    };
    bool bracketed = false;
    double in = inside.latitude, out = in;
    for (double step : {2.0, -2.0}) {
      for (out = inside.latitude + step; std::fabs(out) < 89.0; out += step) {
        if (closeness(out) > kGrazeCloseness) {
          bracketed = true;
          break;
        }
        in = out;
      }
      if (bracketed) break;
      in = inside.latitude;
    }
    ASSERT_TRUE(bracketed) << "record " << i << ": no graze along the meridian " << inside.longitude;
    for (int k = 0; k < 50; ++k) {
      const double mid = 0.5 * (in + out);
      (closeness(mid) < kGrazeCloseness ? in : out) = mid;
    }
    const testing::Observer nearGraze{in, inside.longitude, inside.height};
    const testing::ProgramCircumstances local = compare(nearGraze, graze);
    EXPECT_TRUE(local.outer.found) << "record " << i << ": no contacts at the near-graze observer";
    EXPECT_NEAR(local.closeness, kGrazeCloseness, 1e-7);
    if (local.outer.found) {
      const double duration = (local.outer.last - local.outer.first) * 3600.0;
      shortestGraze = std::min(shortestGraze, duration);
      longestGraze = std::max(longestGraze, duration);
      ++observers;
    }
    ++events;
    if (body.planet) ++planetEvents;
    fewestObservers = std::min(fewestObservers, observers);
  }
  EXPECT_GT(events, 20);
  EXPECT_GT(planetEvents, 0);
  EXPECT_GT(planets.contacts, 0);
  EXPECT_EQ(graze.pairs, events);
  EXPECT_GE(fewestObservers, 2);
  std::printf("program vs ephemeris: %d events (%d planets), %d observer/event pairs, %d contacts: "
              "largest difference %.4f s\n",
              events, planetEvents, grid.pairs + graze.pairs, grid.contacts + graze.contacts,
              std::max(grid.worst, graze.worst));
  std::printf("  grid %d pairs %.4f s; near-graze %d pairs (contacts %.0f to %.0f s apart) %.4f s; "
              "planets %d pairs %d contacts %.4f s; fewest observers per event %d\n",
              grid.pairs, grid.worst, graze.pairs, shortestGraze, longestGraze, graze.worst, planets.pairs,
              planets.contacts, planets.worst, fewestObservers);
}

// Through the generator's writer and the program's reader, each record's date
// and t0 give, by the program's own Julian date routine, the instant the
// generator computed.
TEST_F(FitTest, WrittenRecordsGiveBackTheirInstants) {
  const std::string directory = ::testing::TempDir() + "vernier_canon_program_instants";
  std::vector<BesselianElements> back;
  std::string error;
  const bool read = testing::ReadBackThroughProgram(records_, directory, back, error);
  std::filesystem::remove_all(directory);
  ASSERT_TRUE(read) << error;
  ASSERT_EQ(back.size(), records_.size());
  for (size_t i = 0; i < back.size(); ++i) {
    const BesselianElements& r = back[i];
    EXPECT_DOUBLE_EQ(JulianDate(r.year, r.month, r.day, r.t0, 0.0), records_[i].jd);
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
}

}  // namespace
}  // namespace vernier::canon
