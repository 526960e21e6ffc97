#include "bessel/limit_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "gdi/recording_device_context.h"
#include "local/observer.h"
#include "support/eclipse_1999.h"

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
    DrawLimitLineTable(dc, context, deltaT, longitude, step);
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
  auto texts = t.Draw(kEclipse1999DeltaT, -30, 10);
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
    const double north = LimitLatitudeAtLongitude(t.context, dT, +1);
    const double south = LimitLatitudeAtLongitude(t.context, dT, -1);
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
      ASSERT_EQ(FindMaximum(t.context, 0, dT, max), 1);
      const double wanted = check.distance < 0 ? std::fabs(t.state.l2) : 0;
      EXPECT_NEAR(t.state.m, wanted, 2e-4);  // about a kilometre
    }
  }
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
    EXPECT_EQ(LimitLatitudeAtLongitude(t.context, kEclipse1999DeltaT, +1), kNoLatitude);
    const CentralLinePoint c = CentralLatitudeAtLongitude(t.context, kEclipse1999DeltaT);
    EXPECT_EQ(c.latitude, kNoLatitude);
    EXPECT_EQ(c.altitude, kNoAltitude);
  }
}

}  // namespace
}  // namespace vernier
