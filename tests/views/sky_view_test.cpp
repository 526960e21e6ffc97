#include "views/sky_view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gdi/recording_device_context.h"
#include "support/japan_star.h"

namespace vernier {
namespace {

TEST(SkyView, FindsTheMaximumFillsBlackAndDrawsTheChart) {
  ProgramState state;
  state.cursor.elements = testing::JapanStar();  // axis over 135° E, 35° N at t = 0
  state.cursor.event.year = 2000, state.cursor.event.month = 1, state.cursor.event.day = 1,
  state.cursor.event.t0 = 12;
  state.navigation.eventDeltaT = 63.8272;
  state.site.longitude = 135.0, state.site.latitude = 35.0, state.site.height = 0;
  state.observerPoint.westLongitude = 20;  // a path computation moved the point

  RecordingDeviceContext dc;
  const SkyViewResult r = DrawSkyView(state, dc, ClientRect{0, 0, 684, 520});
  EXPECT_EQ(r.localStatus, Status::Ok);
  EXPECT_NEAR(r.maximum.t, 0, 0.01);
  // The observer stands on the axis: magnitude L1'/(L1' + L2') with equal radii.
  EXPECT_NEAR(r.maximum.magnitude, 0.5, 0.01);
  EXPECT_EQ(r.maximum.inside, 1);
  EXPECT_NEAR(r.universalTime, 12 + r.maximum.t - 63.8272 / 3600, 1e-12);
  EXPECT_DOUBLE_EQ(r.packedDate, 2000.0101);
  // The observer point is the site again.
  EXPECT_EQ(state.observerPoint.westLongitude, -135.0);

  ASSERT_FALSE(dc.Calls().empty());
  const DrawCall& fill = dc.Calls().front();
  EXPECT_EQ(fill.kind, DrawCall::Kind::FillSolidRect);
  EXPECT_EQ(fill.right, 684);
  EXPECT_EQ(fill.bottom, 520);
  EXPECT_EQ(fill.colour, (Rgb{0, 0, 0}));
  bool date = false, lon = false;
  for (const DrawnText& t : dc.Texts()) {
    date |= t.y == 60 && t.text.rfind(" UT   2000-01-01 ", 0) == 0;
    lon |= t.y == 150 && t.text == "   Lon(deg.):  135.00";
  }
  EXPECT_TRUE(date);
  EXPECT_TRUE(lon);
}

TEST(SkyView, DateNumbers) {
  EXPECT_DOUBLE_EQ(PackedDateNumber(2024, 12, 8), 2024 + 0.12 + 0.0008);
  EXPECT_DOUBLE_EQ(PackedDateNumber(-500, 3, 1), -(0.03 + 500 + 0.0001));
  EXPECT_DOUBLE_EQ(PackedDateNumber(0, 2, 29), 0.0229);
}

}  // namespace
}  // namespace vernier
