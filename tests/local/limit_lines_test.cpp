#include "local/limit_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "astro/time.h"
#include "gdi/recording_device_context.h"
#include "local/observer.h"
#include "support/eclipse_1999.h"
#include "support/japan_star.h"
#include "views/limit_table_view.h"
#include "support/settled.h"

namespace vernier {
namespace {

using testing::Eclipse1999;
using testing::kEclipse1999DeltaT;

struct Table {
  BesselianElements elements;
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context{elements, shadow, observer, state};
  RecordingDeviceContext dc;

  explicit Table(const BesselianElements& e) : elements(e) {}
  std::vector<DrawnText> Draw(double deltaT, double longitude, double step) {
    DrawLimitLineTable(dc, elements, ComputeLimitLineTable(context, deltaT, longitude, step));
    return dc.Texts();
  }
};

std::string NoCentralRow(double longitude) {
  char text[100];
  std::snprintf(text, sizeof text, " %8.2f  =========  No Central Calculation Availabel   =========  ",
                longitude);
  return text;
}

TEST(LimitLineTable, LayoutOfTheTable) {
  Table t(Eclipse1999());
  auto texts = t.Draw(kEclipse1999DeltaT, 120, 15);
  ASSERT_EQ(texts.size(), 17u);
  for (const DrawnText& text : texts) {
    EXPECT_EQ(text.x, 10);
    EXPECT_EQ(text.colour, (Rgb{255, 255, 255}));
  }
  EXPECT_EQ(texts[0].y, 45);
  EXPECT_EQ(texts[0].text, " Date     : 1999  8 11");
  EXPECT_EQ(texts[1].y, 105);
  EXPECT_EQ(texts[1].text, "   LON.     NORTH     CENTER    SOUTH    TIME   TIME");
  EXPECT_EQ(texts[2].y, 120);
  EXPECT_EQ(texts[2].text, "            LIMIT     LINE      LIMIT    (UT)   (LMT)");
  EXPECT_EQ(texts[3].y, 135);
  EXPECT_EQ(texts[3].text, " --------  --------  --------  --------  -----  -----");
  // 120, 135, ... 300 degrees east, not reduced to +-180. The path ended over
  // the Bay of Bengal and began at sunrise off Nova Scotia: only 300 E (60 W)
  // has a central point.
  for (int i = 0; i < 13; ++i) EXPECT_EQ(texts[4 + i].y, 15 * (i + 11));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(texts[4 + i].text, NoCentralRow(120 + 15 * i));
  EXPECT_EQ(texts[16].text.substr(0, 11), "   300.00  ");
  EXPECT_EQ(texts[16].text.substr(texts[16].text.size() - 16), "   9:30   5:30  ");
}

TEST(LimitLineTable, RowsAlongThe1999Path) {
  Table t(Eclipse1999());
  t.observer.westLongitude = -135;
  t.observer.latitude = 35;
  t.observer.rhoSinPhi = 0.57;
  t.observer.rhoCosPhi = 0.82;
  auto texts = t.Draw(kEclipse1999DeltaT, -30, 10);
  // The table evaluates at its own points: the observer stays where it was.
  EXPECT_EQ(t.observer.westLongitude, -135);
  EXPECT_EQ(t.observer.latitude, 35);
  EXPECT_EQ(t.observer.rhoSinPhi, 0.57);
  EXPECT_EQ(t.observer.rhoCosPhi, 0.82);
  // West of the Atlantic start the rows print, and the Greenwich row prints 0.00.
  EXPECT_EQ(texts[7].text.substr(0, 11), "     0.00  ");
  EXPECT_EQ(texts[16].text, NoCentralRow(90));  // east of the path's end
  double north, centre, south, uh, um, lh, lm, lon;
  ASSERT_EQ(std::sscanf(texts[10].text.c_str(), "%lf %lf %lf %lf %lf:%lf %lf:%lf", &lon, &north,
                        &centre, &south, &uh, &um, &lh, &lm),
            8);
  EXPECT_EQ(lon, 30);
  EXPECT_GT(north, centre);
  EXPECT_GT(centre, south);
  EXPECT_EQ(lh * 60 + lm, uh * 60 + um + 120);  // LMT = UT + 30/15 hours

  // NASA RP 1398: greatest eclipse at 11:03:04 UT near 45.1 N, 24.3 E, on the
  // central line.
  t.observer.westLongitude = -24.3;
  const CentralLinePoint c = CentralLatitudeAtLongitude(t.context, kEclipse1999DeltaT);
  EXPECT_NEAR(c.latitude, 45.1, 0.06);
  EXPECT_NEAR(t.elements.t0 + c.t - kEclipse1999DeltaT / 3600, testing::Hms(11, 3, 4), 20.0 / 3600);
  EXPECT_NEAR(c.altitude, 59, 1);
}

TEST(LimitLineTable, LatitudesAgreeWithTheLocalCircumstances) {
  // At the central latitude the observer passes through the axis; at a limit
  // the least distance from the axis equals the inner radius |L2'|.
  const double dT = kEclipse1999DeltaT;
  for (double longitude : {-20.0, 10.0, 24.3, 60.0}) {
    SCOPED_TRACE(longitude);
    Table t(Eclipse1999());
    t.observer.westLongitude = -longitude;
    const CentralLinePoint c = CentralLatitudeAtLongitude(t.context, dT);
    const double north = LimitLatitudeAtLongitude(t.context, dT, Side::Plus);
    const double south = LimitLatitudeAtLongitude(t.context, dT, Side::Minus);
    ASSERT_NE(north, kNoLatitude);
    ASSERT_NE(south, kNoLatitude);
    EXPECT_GT(north, c.latitude);
    EXPECT_LT(south, c.latitude);
    const struct { double latitude, distance; } checks[] = {
        {c.latitude, 0}, {north, -1}, {south, -1}};
    for (const auto& check : checks) {
      ObserverSite site;
      site.longitude = longitude;
      site.latitude = check.latitude;
      SetUpObserver(site, t.observer);
      LocalMaximum max;
      ASSERT_TRUE(Settled(FindMaximum(t.context, 0, dT), max));
      const double wanted = check.distance < 0 ? std::fabs(t.state.l2) : 0;
      EXPECT_NEAR(t.state.m, wanted, 2e-4);  // about a kilometre
    }
  }
}

TEST(LimitLineTable, APartialEventGivesTheLimitThatCrossesTheEarth) {
  // The Japan star with its axis moved 1.1 Earth radii south: the axis and
  // the southern limit miss the Earth, the northern limit crosses it (some
  // 21 degrees south, where the shadow passes at t = 0).
  BesselianElements e = testing::JapanStar();
  e.type = 1;
  e.y0 = -1.1;
  const double dT = testing::kJapanDeltaT;
  Table t(e);
  // -255 is the start 105 E: the table brings it into -180..180.
  const LimitLineTable table = ComputeLimitLineTable(t.context, dT, -255, 5);
  EXPECT_EQ(table[0].eastLongitude, 105);
  int rows = 0;
  for (const LimitLineRow& row : table) {
    SCOPED_TRACE(row.eastLongitude);
    EXPECT_FALSE(row.central);
    if (!row.limitOnly) continue;
    ++rows;
    EXPECT_EQ(row.south, kNoLatitude);
    EXPECT_EQ(row.centre, kNoLatitude);
    ASSERT_NE(row.north, kNoLatitude);
    // On the limit the observer's least distance from the axis is |L2'|,
    // reached at the row's time.
    ObserverSite site;
    site.longitude = row.eastLongitude;
    site.latitude = row.north;
    SetUpObserver(site, t.observer);
    LocalMaximum max;
    ASSERT_TRUE(Settled(FindMaximum(t.context, 0, dT), max));
    EXPECT_NEAR(t.state.m, std::fabs(t.state.l2), 2e-4);
    EXPECT_NEAR(row.ut, UniversalHours(e.t0, max.t, dT), 1.0 / 60);
  }
  EXPECT_GE(rows, 3);
  // The drawn rows: the northern limit under its heading, dashes elsewhere,
  // and a note that there is no central line.
  t.dc.Clear();
  auto texts = t.Draw(dT, -255, 5);
  bool note = false, limitRow = false;
  for (const DrawnText& text : texts) {
    note |= text.y == 75 && text.text.find("No central line") != std::string::npos;
    double lon, north;
    if (std::sscanf(text.text.c_str(), " %lf %lf     -----     ----- ", &lon, &north) == 2)
      limitRow = true;
  }
  EXPECT_TRUE(note);
  EXPECT_TRUE(limitRow);
}

TEST(LimitLineTable, LocalMeanTimeWrapsPastMidnight) {
  // The axis crosses 90 E at t = 0 (t0 = 20 h, Delta T 0): UT 20:00, LMT 26:00.
  BesselianElements e;
  e.year = 2001, e.month = 2, e.day = 3, e.t0 = 20;
  e.x1 = 0.5, e.mu0 = -90, e.mu1 = 15, e.l10 = 0.5, e.l20 = -0.01;
  Table t(e);
  auto texts = t.Draw(0, 90, 15);
  EXPECT_EQ(texts[4].text.substr(0, 11), "    90.00  ");
  EXPECT_EQ(texts[4].text.substr(texts[4].text.size() - 14), "20: 0   2: 0  ");
}

// The occultation of Jupiter on 2027 March 19 as the generated element file
// holds it: a grazing path (gamma -0.87) whose central line runs from 120 E to
// about 183 E and whose southern limit misses the Earth.
BesselianElements Jupiter2027() {
  BesselianElements e;
  e.year = 2027, e.month = 3, e.day = 19, e.type = 2, e.mag = -2.43, e.gamma = -0.8714;
  e.jd = 2461483.875, e.ma = 11, e.xz = 5, e.t0 = 9;
  e.x0 = -0.59506457387, e.x1 = 0.56014482086, e.x2 = 5.456791138e-05, e.x3 = -1.003186661e-05;
  e.y0 = -0.69353432718, e.y1 = -0.2389344818, e.y2 = 4.0062074015e-05, e.y3 = 4.262647204e-06;
  e.d0 = 16.465451614, e.d1 = 0.0010600097226, e.d2 = -8.3568834083e-07;
  e.mu0 = 170.96089424, e.mu1 = 15.044504836;
  e.l10 = 0.27867363807, e.l11 = -1.3127381279e-07, e.l12 = -3.3073235215e-07;
  e.l20 = 0.26663426254, e.l21 = 1.2504177679e-07, e.l22 = 3.1503270907e-07;
  e.tanf1 = 0.00010732818819, e.tanf2 = -0.00010223339115;
  return e;
}
constexpr double kJupiter2027DeltaT = 70.34;

TEST(LimitLineTable, ALatitudeIsPrintedOnlyWhereTheIterationSettledOnTheEarth) {
  Table t(Jupiter2027());
  auto texts = t.Draw(kJupiter2027DeltaT, 90, 15);
  ASSERT_EQ(texts.size(), 17u);
  // Where the central line crosses a meridian, its latitude; everywhere else,
  // including 240 E and 270 E where the iteration stopped half-way (at 91.6
  // and 451.0 degrees), the failed row.
  for (int i = 0; i < 13; ++i) {
    const double longitude = 90 + 15 * i;
    SCOPED_TRACE(longitude);
    const std::string& row = texts[4 + i].text;
    if (longitude < 120 || longitude > 180) {
      EXPECT_EQ(row, NoCentralRow(longitude));
      continue;
    }
    double lon, north, centre, south;
    ASSERT_EQ(std::sscanf(row.c_str(), "%lf %lf %lf %lf", &lon, &north, &centre, &south), 4);
    EXPECT_LE(std::fabs(north), 90);
    EXPECT_LE(std::fabs(centre), 90);
    EXPECT_GT(north, centre);
    EXPECT_EQ(south, kNoLatitude);  // off the Earth
  }
  EXPECT_EQ(texts[6].text.substr(0, 42), "   120.00  -12.4691  -35.1459  100.0000   ");

  // Each finder on its own: a settled latitude lies on the Earth, and the
  // central one is where the observer passes through the axis.
  for (double longitude = 0; longitude < 360; longitude += 5) {
    SCOPED_TRACE(longitude);
    t.observer.westLongitude = -longitude;
    const CentralLinePoint c = CentralLatitudeAtLongitude(t.context, kJupiter2027DeltaT);
    const double north = LimitLatitudeAtLongitude(t.context, kJupiter2027DeltaT, Side::Plus);
    if (north != kNoLatitude) {
      EXPECT_LE(std::fabs(north), 90);
    }
    if (c.latitude == kNoLatitude) continue;
    EXPECT_LE(std::fabs(c.latitude), 90);
    ObserverSite site;
    site.longitude = longitude;
    site.latitude = c.latitude;
    SetUpObserver(site, t.observer);
    LocalMaximum max;
    ASSERT_TRUE(Settled(FindMaximum(t.context, c.t, kJupiter2027DeltaT), max));
    EXPECT_NEAR(t.state.m, 0, 2e-4);
  }
}

TEST(LimitLineTable, RecordsWithoutACentralLineGiveTheNoCentralRows) {
  BesselianElements far = Eclipse1999();
  far.y0 = 50;  // the shadow nowhere near the Earth
  BesselianElements still = Eclipse1999();
  still.x1 = still.y1 = still.mu1 = still.d1 = 0;  // no motion at all
  BesselianElements broken = Eclipse1999();
  broken.x2 = std::numeric_limits<double>::quiet_NaN();
  for (const BesselianElements* e : {&far, &still, &broken}) {
    Table t(*e);
    auto texts = t.Draw(kEclipse1999DeltaT, 0, 15);
    ASSERT_EQ(texts.size(), 17u);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(texts[4 + i].text, NoCentralRow(15 * i));
    t.observer.westLongitude = 0;
    EXPECT_EQ(LimitLatitudeAtLongitude(t.context, kEclipse1999DeltaT, Side::Plus), kNoLatitude);
    const CentralLinePoint c = CentralLatitudeAtLongitude(t.context, kEclipse1999DeltaT);
    EXPECT_EQ(c.latitude, kNoLatitude);
    EXPECT_EQ(c.altitude, kNoAltitude);
  }
}

}  // namespace
}  // namespace vernier
