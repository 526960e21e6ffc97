// Predictions for an observer, checked against published predictions for
// named sites. The element records are copied unchanged from the generated
// ecad22.PRN (tests/data/predictions/ecad22.PRN: 2003-03-23 .. 2003-08-05,
// 2007-08-24 .. 26, 2009-12-25 .. 27).
#include "local/predictions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/time.h"
#include "local/moon_illumination.h"
#include "local/prediction_table.h"
#include "support/run_cli.h"

namespace vernier {
namespace {

using testing::TestData;

PredictionRequest Request(double lon, double lat, double height, int year, int month, int day,
                          int days) {
  PredictionRequest r;
  r.site.longitude = lon;
  r.site.latitude = lat;
  r.site.height = height;
  r.site.cityIndex = kTypedSiteIndex;
  r.year = year;
  r.month = month;
  r.day = day;
  r.days = days;
  return r;
}

double AngleGap(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

// Universal time of a civil time given as hours and minutes on a UT date with
// the zone offset in hours.
double JdOf(int year, int month, int day, double hours, double zoneHours) {
  return JulianDate(year, month, day, hours - zoneHours, 0);
}

struct PublishedContact {
  int month, day;
  double localHours;  // published civil time, to the minute
  const char* kind;
  double hip;
  double illuminated;  // published percent, + waxing, - waning; NAN: not given
  double cuspAngle;    // published, signed (negative bright limb)
  char cusp;
};

// Lubbock, Texas, 2003 (IOTA predictions as listed by T. Heisey,
// tomheisey.com/Articles/occultations/old-list.htm): local times to the
// minute, cusp angles to the degree, illumination to the percent, for the
// stars of the list (magnitudes 2.8 to 3.5; the test asks for 3.6 or
// brighter). Against the list:
// - "Aug 9 Sat 7:10am-8:05am" for γ Vir is 7:10 pm to 8:05 pm on Saturday
//   2 August (a waxing crescent in the south-west; no occultation of γ Vir
//   falls on 9 August). It lies in daylight (Sun 18 and 7 degrees high), which
//   the default limits leave out for a star of magnitude 3.4, as they leave out
//   the reappearance of φ Sgr (Sun 8 degrees high); the Sun limit is raised.
// - α2 Lib is "Dis. only": the reappearance is 2.6 degrees high, under the
//   list's altitude limit but above our default of 2, so the test asks for 3.
TEST(PredictionsTest, LubbockListOf2003MatchesThePublishedList) {
  const PublishedContact published[] = {
      {3, 25, 6 + 5 / 60.0, "D", 92041, -45, -76, 'N'},  // φ Sgr, CST
      {3, 25, 7 + 28 / 60.0, "R", 92041, -45, 63, 'N'},
      {5, 10, 0 + 22 / 60.0, "D", 49583, 57, 52, 'N'},  // η Leo, CDT
      {5, 10, 1 + 6 / 60.0, "R", 49583, 57, -33, 'N'},
      {7, 9, 1 + 29 / 60.0, "D", 72622, 74, 87, 'S'},     // α2 Lib
      {8, 2, 19 + 10 / 60.0, "D", 61941, NAN, NAN, 'S'},  // γ Vir (see above)
      {8, 2, 20 + 5 / 60.0, "R", 61941, NAN, NAN, 'S'},
  };
  PredictionRequest request = Request(-101.855, 33.578, 990, 2003, 3, 24, 133);
  request.maxMagnitude = 3.6;
  request.minAltitude = 3;
  request.maxSunAltitude = 90;  // γ Vir in daylight
  const PredictionRun run = PredictOccultations(TestData("predictions"), request);
  ASSERT_TRUE(run.missingFile.empty());
  ASSERT_EQ(run.contacts.size(), std::size(published));
  for (std::size_t i = 0; i < run.contacts.size(); ++i) {
    const PredictedContact& c = run.contacts[i];
    const PublishedContact& p = published[i];
    SCOPED_TRACE(i);
    const double zone = p.month == 3 ? -6 : -5;  // CST until 6 April 2003
    // The civil date of a contact after local midnight is the next UT date's.
    const double jd = JdOf(2003, p.month, p.day, p.localHours, zone);
    EXPECT_LT(std::fabs(c.jdUT - jd) * 86400, 60) << "published to the minute";
    EXPECT_STREQ(ContactKindCode(c.kind), p.kind);
    EXPECT_EQ(c.hip, p.hip);
    if (!std::isnan(p.illuminated)) {
      EXPECT_NEAR(c.illuminatedPercent, std::fabs(p.illuminated), 1.5);
      EXPECT_EQ(c.waxing, p.illuminated > 0);
    }
    if (!std::isnan(p.cuspAngle)) {
      EXPECT_NEAR(c.cuspAngle, p.cuspAngle, 1.0);
      EXPECT_EQ(c.cusp, p.cusp);
      EXPECT_EQ(c.brightLimb, p.cuspAngle < 0);
    }
  }
  // With the default limits the daylight γ Vir event goes (magnitude 3.4).
  request.maxSunAltitude = -6;
  const PredictionRun night = PredictOccultations(TestData("predictions"), request);
  for (const PredictedContact& c : night.contacts) EXPECT_NE(c.hip, 61941);
}

// η Psc from Delhi, 2009-12-26 (eclipsesindia.blogspot.com, "Occultation of
// Eta Piscium in Delhi"): D 15:19:09 UT PA 360 CA 19N, R 16:01:30 UT PA 302
// CA 38N bright. The page names the city, not the site: over the city's extent
// the times move by some tens of seconds, so times are held to 30 s here and
// the angles to 1 degree.
TEST(PredictionsTest, DelhiEtaPisciumMatchesThePublishedTimesAndAngles) {
  const PredictionRun run =
      PredictOccultations(TestData("predictions"), Request(77.209, 28.614, 216, 2009, 12, 26, 1));
  ASSERT_EQ(run.contacts.size(), 2u);
  const PredictedContact& d = run.contacts[0];
  const PredictedContact& r = run.contacts[1];
  EXPECT_EQ(d.kind, ContactKind::Disappearance);
  EXPECT_EQ(r.kind, ContactKind::Reappearance);
  EXPECT_EQ(d.hip, 7097);
  EXPECT_LT(std::fabs(d.jdUT - JulianDate(2009, 12, 26, 15 + 19 / 60.0 + 9 / 3600.0, 0)) * 86400,
            30);
  EXPECT_LT(std::fabs(r.jdUT - JulianDate(2009, 12, 26, 16 + 1 / 60.0 + 30 / 3600.0, 0)) * 86400,
            30);
  EXPECT_LT(AngleGap(d.positionAngle, 360), 1.0);
  EXPECT_LT(AngleGap(r.positionAngle, 302), 1.0);
  EXPECT_NEAR(d.cuspAngle, 19, 1.0);
  EXPECT_NEAR(r.cuspAngle, -38, 1.5);
  EXPECT_EQ(d.cusp, 'N');
  EXPECT_EQ(r.cusp, 'N');
  EXPECT_NEAR(d.altitude, 68, 1.0);
  EXPECT_NEAR(d.azimuth, 238, 1.0);
  EXPECT_NEAR(r.altitude, 59, 1.0);
  EXPECT_NEAR(r.azimuth, 251, 1.0);
  EXPECT_FALSE(d.brightLimb);
  EXPECT_TRUE(r.brightLimb);
}

// 52 Sgr from Kambah, 2007-08-25 (IOTA's example predictions,
// lunar-occultations.com/bobgraze/personal/total.htm): a miss, the northern
// limit 60 km away. No contact, and no graze flag on anything else.
TEST(PredictionsTest, KambahMissOf52SagittariiGivesNoContact) {
  PredictionRequest request = Request(149.0636, -35.3970, 582, 2007, 8, 24, 3);
  request.minAltitude = -90;
  request.maxSunAltitude = 90;
  const PredictionRun run = PredictOccultations(TestData("predictions"), request);
  EXPECT_GT(run.eventsRead, 0);
  for (const PredictedContact& c : run.contacts) {
    EXPECT_NE(c.hip, 96465) << "52 Sgr misses Kambah";
    EXPECT_FALSE(c.grazeKm.has_value());
  }
}

// The graze flag: moving the Delhi site north across the northern limit of
// the η Psc occultation. The distance to the limit shrinks as the site nears it
// and changes sign as the site crosses (negative inside).
TEST(PredictionsTest, GrazeDistanceFollowsTheSiteAcrossTheLimit) {
  // Find the limit by bisection on the latitude along Delhi's meridian.
  double inside = 28.614, outside = 40;
  auto occulted = [](double lat) {
    PredictionRequest r = Request(77.209, lat, 0, 2009, 12, 26, 1);
    r.minAltitude = -90;
    r.maxSunAltitude = 90;
    const PredictionRun run = PredictOccultations(TestData("predictions"), r);
    return !run.contacts.empty() && run.contacts[0].kind == ContactKind::Disappearance;
  };
  ASSERT_TRUE(occulted(inside));
  ASSERT_FALSE(occulted(outside));
  for (int i = 0; i < 30; ++i) {
    const double mid = (inside + outside) / 2;
    (occulted(mid) ? inside : outside) = mid;
  }
  const double limit = inside;
  for (double km : {-8.0, -3.0, 3.0}) {
    // A step of `km` along the meridian (negative: south, inside) moves the
    // site at most as far from the limit line; the flag reports the
    // perpendicular distance.
    PredictionRequest r = Request(77.209, limit + km / 111.2, 0, 2009, 12, 26, 1);
    r.minAltitude = -90;
    r.maxSunAltitude = 90;
    const PredictionRun run = PredictOccultations(TestData("predictions"), r);
    SCOPED_TRACE(km);
    // Inside: the two contacts; outside: one row at the closest approach.
    ASSERT_EQ(run.contacts.size(), km < 0 ? 2u : 1u);
    const PredictedContact& c = run.contacts[0];
    EXPECT_EQ(c.kind, km < 0 ? ContactKind::Disappearance : ContactKind::NearMiss);
    ASSERT_TRUE(c.grazeKm.has_value());
    EXPECT_EQ(*c.grazeKm < 0, km < 0);
    EXPECT_LE(std::fabs(*c.grazeKm), std::fabs(km) + 0.2);
    EXPECT_GT(std::fabs(*c.grazeKm), std::fabs(km) * 0.3);
  }
  // Far outside: nothing.
  {
    PredictionRequest r = Request(77.209, limit + 20 / 111.2, 0, 2009, 12, 26, 1);
    r.minAltitude = -90;
    r.maxSunAltitude = 90;
    EXPECT_TRUE(PredictOccultations(TestData("predictions"), r).contacts.empty());
  }
  // Delhi itself lies far inside: no flag.
  const PredictionRun delhi =
      PredictOccultations(TestData("predictions"), Request(77.209, 28.614, 216, 2009, 12, 26, 1));
  ASSERT_FALSE(delhi.contacts.empty());
  EXPECT_FALSE(delhi.contacts[0].grazeKm.has_value());
}

TEST(PredictionsTest, SpanLimitsAndCancellation) {
  const std::string data = TestData("predictions");
  PredictionRequest request = Request(-101.855, 33.578, 990, 2003, 5, 10, 1);
  request.maxMagnitude = 3.6;
  // η Leo: both contacts on 10 May UT.
  EXPECT_EQ(PredictOccultations(data, request).contacts.size(), 2u);
  request.minAltitude = 35;  // D at 38.5 degrees, R at 29.4
  EXPECT_EQ(PredictOccultations(data, request).contacts.size(), 1u);
  request.minAltitude = 2;
  request.maxMagnitude = 3.0;  // η Leo is 3.45
  EXPECT_TRUE(PredictOccultations(data, request).contacts.empty());

  request = Request(-101.855, 33.578, 990, 2003, 3, 24, 133);
  int calls = 0;
  const PredictionRun cancelled = PredictOccultations(data, request, [&](double fraction) {
    EXPECT_GE(fraction, 0.0);
    EXPECT_LE(fraction, 1.0);
    return ++calls < 5;
  });
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_EQ(cancelled.eventsRead, 5);
}

TEST(PredictionsTest, MissingElementFileIsReported) {
  const PredictionRun run =
      PredictOccultations(TestData("predictions"), Request(0, 0, 0, 2300, 1, 1, 10));
  EXPECT_EQ(run.missingFile, "ecad24.PRN");
  EXPECT_TRUE(run.contacts.empty());
}

TEST(PredictionTableTest, UtRoundsToTheTenthAcrossMidnight) {
  const struct {
    double hours;
    const char* date;
    const char* time;
  } cases[] = {
      {12.5, "2003-05-10", "12:30:00.0"},
      {23 + 59 / 60.0 + 59.96 / 3600, "2003-05-11", "00:00:00.0"},
      {1 + 2 / 60.0 + 3.44 / 3600, "2003-05-10", "01:02:03.4"},
  };
  for (const auto& c : cases) {
    const UtStamp stamp = FormatUt(JulianDate(2003, 5, 10, c.hours, 0));
    EXPECT_EQ(stamp.date, c.date);
    EXPECT_EQ(stamp.time, c.time);
  }
  EXPECT_EQ(UnixSecondsOf(2440587.5), 0);
  EXPECT_EQ(UnixSecondsOf(JulianDate(2009, 12, 26, 15.5, 0)), 1261841400);
}

TEST(PredictionTableTest, CuspAngleSignsAndCusps) {
  // Bright limb towards position angle 270 (waxing Moon, Sun to the west).
  const struct {
    double pa, bright, degrees;
    char cusp;
  } cases[] = {
      {270, 270, -90, 'N'}, {100, 270, 80, 'S'},  {10, 270, 10, 'N'},
      {170, 270, 10, 'S'},  {300, 270, -60, 'N'}, {200, 270, -20, 'S'},
  };
  for (const auto& c : cases) {
    const CuspAngle a = CuspAngleOf(c.pa, c.bright);
    EXPECT_NEAR(a.degrees, c.degrees, 1e-9) << c.pa;
    EXPECT_EQ(a.cusp, c.cusp) << c.pa;
  }
}

TEST(PredictionTableTest, CsvQuotesWhatNeedsIt) {
  EXPECT_EQ(CsvLine({"a", "b,c", "say \"hi\"", ""}), "a,\"b,c\",\"say \"\"hi\"\"\",");
}

}  // namespace
}  // namespace vernier
