#include "program/predicted_event.h"

#include <gtest/gtest.h>

#include "gdi/recording_device_context.h"
#include "support/japan_star.h"
#include "support/temp_data_dir.h"
#include "views/view_paint.h"

namespace vernier {
namespace {

// An event found from the ephemeris (a star without a HIP number, which no
// element file holds) is drawn as loaded, not read again from the files; the
// next event after it is the files' next one.
TEST(PredictedEventTest, ARecordNoFileHoldsIsShownAndNavigationGoesOn) {
  testing::TempDataDir dir;
  const BesselianElements fileEvent = testing::JapanStar();
  dir.Write("ecad22.PRN", testing::FormatRecord(fileEvent));
  dir.Write("location.new", "Osaka,135,35,0,0\n");
  ProgramState state;
  state.SetDataDirectory(dir.path());
  state.cursor.file.messages = nullptr;
  state.display.displayMode = DisplayMode::LocalCircumstances;

  BesselianElements deep = fileEvent;  // the same geometry, an hour earlier, another star
  deep.xz = 4071800103;
  deep.hip = deep.sao = deep.zc = 0;
  deep.mag = 10.4;
  deep.t0 -= 1;
  deep.jd -= 1.0 / 24;
  ObserverSite site;
  site.longitude = 135;
  site.latitude = 35;
  site.cityIndex = kTypedSiteIndex;
  LoadPredictedRecord(state, deep, site);

  RecordingDeviceContext dc;
  ASSERT_EQ(PaintView(state, dc, {0, 0, 684, 520}).outcome, PaintOutcome::Drawn);
  bool named = false;
  // Named by its identifier, not by the digits of its key.
  for (const DrawnText& t : dc.Texts()) named |= t.text.find("STAR NAME:Z3-718-103 ") != std::string::npos;
  EXPECT_TRUE(named);
  EXPECT_EQ(state.cursor.elements.xz, deep.xz);

  // "Next" reads on in the files: the file's event of that day.
  state.navigation.paintRequest = PaintRequest::StepForward;
  RecordingDeviceContext next;
  ASSERT_EQ(PaintView(state, next, {0, 0, 684, 520}).outcome, PaintOutcome::Drawn);
  EXPECT_EQ(state.cursor.elements.xz, fileEvent.xz);
}

}  // namespace
}  // namespace vernier
