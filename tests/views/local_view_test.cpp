#include "views/local_view.h"

#include <gtest/gtest.h>

#include "gdi/recording_device_context.h"
#include "support/japan_star.h"
#include "support/temp_data_dir.h"
#include "views/view_paint.h"

namespace vernier {
namespace {

constexpr ClientRect kClient{0, 0, 684, 520};
const char kNote[] = " Note:  LMT = UT + Longitude/15.0     ";

class LocalViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
    dir.Write("location.new", "Osaka,135,35,0,0\n");
    state.SetDataDirectory(dir.path());
    state.cursor.file.messages = nullptr;
    state.cursor.event.year = 2000, state.cursor.event.month = 1, state.cursor.event.day = 1;
    state.navigation.paintRequest = PaintRequest::ReadAtDate;
    state.display.displayMode = DisplayMode::LocalCircumstances;
  }
  static int Count(const RecordingDeviceContext& dc, const std::string& text) {
    int n = 0;
    for (const DrawnText& t : dc.Texts()) n += t.text == text;
    return n;
  }
  // The view's command, then its paint of the result.
  ViewPaintResult Paint(DeviceContext& dc, PaintOptions options = {}) {
    shown = RunDisplayCommand(state);
    return PaintView(shown, state.map, dc, kClient, options);
  }
  testing::TempDataDir dir;
  ProgramState state;
  CurrentDisplay shown;
};

TEST_F(LocalViewTest, PaintDrawsTheReportInTheViewFont) {
  RecordingDeviceContext dc;
  const ViewPaintResult result = Paint(dc);
  ASSERT_EQ(result.outcome, PaintOutcome::Drawn);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  // The start site is entry 1's place: the report names it.
  bool location = false;
  for (const DrawnText& t : dc.Texts()) {
    location |= t.text == " Location : Osaka Lon: 135.00 Lat:  35.00  Height:  0.0  STD = UT+9h";
    if (t.text.rfind(" Date :", 0) == 0) {
      EXPECT_EQ(t.colour, (Rgb{255, 255, 255}));
    }
  }
  EXPECT_TRUE(location);
  EXPECT_EQ(dc.CurrentFont(), FontSpec{});  // the view font is put back afterwards
  bool viewFont = false;
  for (const DrawCall& call : dc.Calls())
    viewFont |= call.kind == DrawCall::Kind::SelectFont && call.font == ViewFont();
  EXPECT_TRUE(viewFont);
  // The animation has run within the paint: nine frames, then the note.
  EXPECT_EQ(shown.products.local.animation.size(), 9u);
  EXPECT_EQ(Count(dc, "         "), 9);
  EXPECT_EQ(Count(dc, kNote), 1);
  EXPECT_EQ(dc.Texts().back().text, kNote);
}

TEST_F(LocalViewTest, DeferredAnimationIsDrawnFrameByFrame) {
  RecordingDeviceContext paint;
  const ViewPaintResult result = Paint(paint, {AnimationDrawing::Deferred});
  ASSERT_EQ(result.outcome, PaintOutcome::Drawn);
  EXPECT_EQ(Count(paint, "         "), 0);
  EXPECT_EQ(Count(paint, kNote), 0);
  const auto& frames = shown.products.local.animation;
  ASSERT_EQ(frames.size(), 9u);

  // The timer's ticks: one frame each, on the window's surface.
  for (std::size_t k = 0; k < frames.size(); ++k) {
    RecordingDeviceContext window;
    DrawLocalAnimationFrame(window, frames, k);
    const auto texts = window.Texts();
    ASSERT_EQ(texts.size(), k + 1 == frames.size() ? 3u : 2u);
    EXPECT_EQ(texts[0].text, "         ");
    EXPECT_EQ(texts[1].x, 340);
    EXPECT_EQ(window.BackgroundColour(), (Rgb{0, 0, 0}));
    ASSERT_FALSE(window.Calls().empty());
    EXPECT_EQ(window.Calls().front().font, ViewFont());
    if (texts.size() == 3) {
      EXPECT_EQ(texts[2].text, kNote);
    }
  }
}

TEST_F(LocalViewTest, CommandSwitchesToTheReportAndDrawsItAtOnce) {
  RecordingDeviceContext start;
  state.display.displayMode = DisplayMode::LimitLineTable;  // the limit-line table
  ASSERT_EQ(Paint(start).outcome, PaintOutcome::Drawn);

  RecordingDeviceContext dc;
  const LocalCircumstances report =
      RunLocalCircumstancesCommand(state, dc, kClient, {AnimationDrawing::AllAtOnce, nullptr});
  EXPECT_EQ(state.display.displayMode, DisplayMode::LocalCircumstances);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  EXPECT_TRUE(report.maximumFound);
  ASSERT_GE(dc.Calls().size(), 3u);
  EXPECT_EQ(dc.Calls()[0].font, ViewFont());
  EXPECT_EQ(dc.Calls()[1].kind, DrawCall::Kind::FillSolidRect);
  EXPECT_EQ(dc.Calls()[1].right, 684);
  EXPECT_EQ(dc.Calls()[1].colour, (Rgb{0, 0, 0}));
  EXPECT_EQ(dc.Calls().back().kind, DrawCall::Kind::SelectFont);
  EXPECT_EQ(Count(dc, kNote), 1);
}

}  // namespace
}  // namespace vernier
