// Timings reduced to O−C: the reduction agrees with the prediction it is made
// against (the predicted instant reduces to nothing, a second later to the
// rate), two sites differ as the contact times' dependence on the site says,
// and the timings file is read line by line with every problem named.
#include "local/timing_reduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "astro/time.h"
#include "local/circumstances.h"
#include "local/predictions.h"
#include "support/run_cli.h"

namespace vernier {
namespace {

using testing::TestData;

DataDirectory Data() { return DataDirectory{TestData("predictions")}; }

Timing TimingAt(double jdUT, char kind, const std::string& star, const ObserverSite& site) {
  // The date and time of day rounded to 0.01 s, as a timings file holds them.
  const long long hundredths = std::llround((jdUT + 0.5) * 8640000.0);
  const double day = std::floor(hundredths / 8640000.0);
  const LocalDate date = LocalCalendarDate(day, 0, 0);
  Timing t;
  t.year = static_cast<int>(date.year);
  t.month = static_cast<int>(date.month);
  t.day = static_cast<int>(date.day);
  t.utSeconds = static_cast<double>(hundredths - static_cast<long long>(day) * 8640000) / 100;
  t.kind = kind;
  t.star = star;
  t.site = site;
  return t;
}

ObserverSite Site(double lon, double lat, double height) {
  ObserverSite s;
  s.longitude = lon;
  s.latitude = lat;
  s.height = height;
  s.cityIndex = kTypedSiteIndex;
  return s;
}

std::vector<PredictedContact> StarContacts(const ObserverSite& site, int year, int month,
                                           int day, int days) {
  PredictionRequest request;
  request.site = site;
  request.year = year;
  request.month = month;
  request.day = day;
  request.days = days;
  request.minAltitude = 5;
  request.maxSunAltitude = 90;
  std::vector<PredictedContact> stars;
  for (const PredictedContact& c : PredictOccultations(Data(), request).contacts)
    if (c.planet == 0 && c.hip > 0 &&
        (c.kind == ContactKind::Disappearance || c.kind == ContactKind::Reappearance))
      stars.push_back(c);
  return stars;
}

std::string Hip(const PredictedContact& c) { return "HIP " + std::to_string(std::lround(c.hip)); }

// Every star contact seen from three sites over the test records: the
// predicted instant (to 0.01 s) reduces to |O−C| < 0.005", and one second
// later to the printed rate within 1 %.
TEST(TimingReductionTest, PredictedInstantReducesToZeroAndOneSecondToTheRate) {
  const ObserverSite sites[] = {Site(-101.855, 33.578, 990), Site(139.7454, 35.6586, 40),
                                Site(149.0, -35.3, 600)};
  const StarNames names;
  int checked = 0;
  for (const ObserverSite& site : sites) {
    for (const PredictedContact& c : StarContacts(site, 2003, 3, 23, 140)) {
      const char kind = c.kind == ContactKind::Disappearance ? 'D' : 'R';
      const Timing at = TimingAt(c.jdUT, kind, Hip(c), site);
      const TimingReduction r = ReduceTiming(Data(), names, at);
      ASSERT_TRUE(r.reduced) << r.problem;
      EXPECT_LT(std::fabs(r.reduced->oMinusC), 0.005) << Hip(c) << " " << UtHundredths(c.jdUT);
      // The sign: a star seen a second after its disappearance is inside
      // the limb, one a second after its reappearance outside.
      EXPECT_EQ(r.reduced->rate > 0, kind == 'R') << Hip(c);

      const Timing later = TimingAt(c.jdUT + 1.0 / 86400, kind, Hip(c), site);
      const TimingReduction one = ReduceTiming(Data(), names, later);
      ASSERT_TRUE(one.reduced) << one.problem;
      const double expected = r.reduced->oMinusC + r.reduced->rate;  // printed rate × 1 s
      EXPECT_LT(std::fabs(one.reduced->oMinusC - expected), 0.01 * std::fabs(r.reduced->rate))
          << Hip(c) << " O-C " << one.reduced->oMinusC << " rate " << r.reduced->rate;
      ++checked;
    }
  }
  EXPECT_GE(checked, 8);
}

// The same timing from two sites a few kilometres apart: the O−Cs differ by
// the rate times the difference of the predicted times, A dλ + B dφ, with A
// and B the contact time's change per degree of longitude and latitude
// (central differences of the prediction).
TEST(TimingReductionTest, NearbySitesDifferAsTheContactTimeGradientSays) {
  const ObserverSite home = Site(-101.855, 33.578, 990);
  const StarNames names;
  const auto contacts = StarContacts(home, 2003, 5, 9, 3);
  ASSERT_FALSE(contacts.empty());
  for (const PredictedContact& c : contacts) {
    const char kind = c.kind == ContactKind::Disappearance ? 'D' : 'R';
    const auto predicted = [&](double lon, double lat) {
      const TimingReduction r =
          ReduceTiming(Data(), names, TimingAt(c.jdUT, kind, Hip(c), Site(lon, lat, 990)));
      EXPECT_TRUE(r.reduced) << r.problem;
      return r.reduced ? r.reduced->predictedJdUT * 86400 : 0.0;
    };
    const double h = 0.002;
    const double A = (predicted(home.longitude + h, home.latitude) -
                      predicted(home.longitude - h, home.latitude)) / (2 * h);
    const double B = (predicted(home.longitude, home.latitude + h) -
                      predicted(home.longitude, home.latitude - h)) / (2 * h);
    const double dLon = 0.03, dLat = -0.02;  // about 3 km east and 2 km south
    const Timing observed = TimingAt(c.jdUT + 2.0 / 86400, kind, Hip(c), home);
    Timing moved = observed;
    moved.site = Site(home.longitude + dLon, home.latitude + dLat, 990);
    const auto a = ReduceTiming(Data(), names, observed);
    const auto b = ReduceTiming(Data(), names, moved);
    ASSERT_TRUE(a.reduced && b.reduced);
    const double expected = -a.reduced->rate * (A * dLon + B * dLat);
    const double got = b.reduced->oMinusC - a.reduced->oMinusC;
    EXPECT_NEAR(got, expected, 0.02 * std::fabs(expected) + 0.002)
        << kind << " A " << A << " s/deg, B " << B << " s/deg";
    EXPECT_GT(std::fabs(expected), 0.05) << "the sites must differ measurably";
  }
}

TEST(TimingReductionTest, TimingFarFromThePredictionIsRefusedWithThePredictedTime) {
  const ObserverSite lubbock = Site(-101.855, 33.578, 990);
  const StarNames names;
  // η Leo, D predicted at 05:22:38.07 UT.
  Timing t = TimingAt(JulianDate(2003, 5, 10, 5 + 29 / 60.0, 0), 'D', "HIP 49583", lubbock);
  const TimingReduction r = ReduceTiming(Data(), names, t);
  EXPECT_FALSE(r.reduced);
  EXPECT_NE(r.problem.find("05:22:38.0"), std::string::npos) << r.problem;
  t.star = "HIP 12345";
  EXPECT_NE(ReduceTiming(Data(), names, t).problem.find("no occultation of \"HIP 12345\""),
            std::string::npos);
  t.star = "jupiter";
  EXPECT_NE(ReduceTiming(Data(), names, t).problem.find("planet"), std::string::npos);
}

TEST(TimingReductionTest, StarIsFoundByAnyIdentifierPredictPrints) {
  const ObserverSite lubbock = Site(-101.855, 33.578, 990);
  const StarNames names = StarNames::Load(Data());
  std::vector<std::string> identifiers = {"HIP 49583", "49583", "SAO 98955", "hip49583",
                                          "η Leo (Al Jabhah) HIP 49583 SAO 98955"};
  if (!names.NameOf(49583).empty())
    identifiers.insert(identifiers.end(), {"η Leo", "Al Jabhah", "η Leo (Al Jabhah)"});
  for (const std::string& id : identifiers) {
    const Timing t = TimingAt(JulianDate(2003, 5, 10, 5 + 22 / 60.0 + 38.07 / 3600, 0), 'D', id,
                              lubbock);
    const TimingReduction r = ReduceTiming(Data(), names, t);
    ASSERT_TRUE(r.reduced) << id << ": " << r.problem;
    EXPECT_EQ(r.reduced->hip, 49583) << id;
  }
}

TEST(TimingReductionTest, ParserNamesEveryBadLineAndKeepsTheGoodOnes) {
  std::istringstream in(
      "Date,UTC,kind,star,lon,lat,height,personal_equation\n"
      "2003-05-10,05:22:38.07,D,\"η Leo, HIP 49583\",-101.855,33.578,990,0.35\n"
      "\n"
      "2003-02-30,05:22:38.07,D,HIP 1,0,0,0,\n"      // no 30 February
      "2003-05-10,05:22:38.071,D,HIP 1,0,0,0,\n"     // three decimals
      "2003-05-10,05:60:00,D,HIP 1,0,0,0,\n"         // minute 60
      "2003-05-10,05:22:38,G,HIP 1,0,0,0,\n"         // kind
      "2003-05-10,05:22:38,R,,0,0,0,\n"              // no star
      "2003-05-10,05:22:38,R,HIP 1,0,91,0,\n"        // latitude
      "2003-05-10,05:22:38,R,HIP 1,east,0,0,\n"      // longitude
      "2003-05-10,05:22:38,R,HIP 1,0,0,12000,\n"     // height
      "2003-05-10,05:22:38,R,\"HIP 1,0,0,0,\n"       // open quote
      "2003-05-10,05:22:38,r,HIP 2,10,20,30\n");     // good, short of the extra column
  const TimingsFile file = ParseTimings(in);
  ASSERT_EQ(file.timings.size(), 2u);
  EXPECT_EQ(file.timings[0].line, 2);
  EXPECT_EQ(file.timings[0].star, "η Leo, HIP 49583");
  EXPECT_NEAR(file.timings[0].utSeconds, 5 * 3600 + 22 * 60 + 38.07, 1e-9);
  EXPECT_EQ(file.timings[1].line, 13);
  EXPECT_EQ(file.timings[1].kind, 'R');
  EXPECT_EQ(file.timings[1].site.height, 30);
  const std::vector<std::pair<int, std::string>> expected = {
      {4, "date"}, {5, "time"}, {6, "time"}, {7, "kind"}, {8, "star"}, {9, "latitude"},
      {10, "longitude"}, {11, "height"}, {12, "quoted"}};
  ASSERT_EQ(file.problems.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(file.problems[i].rfind("line " + std::to_string(expected[i].first) + ": ", 0), 0u)
        << file.problems[i];
    EXPECT_NE(file.problems[i].find(expected[i].second), std::string::npos) << file.problems[i];
  }

  std::istringstream noHeight("date,utc,kind,star,lon,lat\n2003-05-10,05:22:38,D,1,0,0\n");
  const TimingsFile bad = ParseTimings(noHeight);
  ASSERT_EQ(bad.problems.size(), 1u);
  EXPECT_NE(bad.problems[0].find("height"), std::string::npos) << bad.problems[0];
  EXPECT_TRUE(bad.timings.empty());
}

}  // namespace
}  // namespace vernier
