#include "views/view_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "gdi/recording_device_context.h"
#include "program/current_display.h"
#include "support/japan_star.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

constexpr ClientRect kClient{0, 0, 684, 520};

std::vector<std::string> TextsOf(const RecordingDeviceContext& dc) {
  std::vector<std::string> texts;
  for (const DrawnText& t : dc.Texts()) texts.push_back(t.text);
  return texts;
}

// The command reads the files and moves the cursor; the paint draws its
// result with every file gone, as often as asked, and leaves the program
// state as it was.
TEST(ViewPaint, DrawsTheCommandsResultWithoutFilesOrNavigation) {
  const std::pair<DisplayMode, const char*> modes[] = {
      {DisplayMode::PathMap, "CANON OF OCCULTATION"},
      {DisplayMode::LimitLineTable, ""},
      {DisplayMode::LocalCircumstances, " Location : Osaka Lon: 135.00 Lat:  35.00  Height:  0.0  STD = UT+9h"}};
  for (const auto& [mode, expected] : modes) {
    SCOPED_TRACE(static_cast<int>(mode));
    testing::TempDataDir dir;
    dir.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
    dir.Write("location.new", "Osaka,135,35,0,0\n");
    dir.CopyKmlHeader();
    ProgramState state;
    state.SetDataDirectory(dir.path());
    state.outputDirectory = dir.path();
    state.cursor.file.messages = nullptr;
    state.cursor.event.year = 2000, state.cursor.event.month = 1, state.cursor.event.day = 1;
    state.navigation.paintRequest = PaintRequest::ReadAtDate;
    state.display.displayMode = mode;
    state.display.kmlOutput = true;  // the export is a command of its own: no paint writes it
    state.map.coastlineSource = CoastlineSource::SimpleMap;

    const CurrentDisplay shown = RunDisplayCommand(state);
    ASSERT_EQ(shown.result, RefreshResult::Drawable);
    EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
    EXPECT_EQ(shown.products.path.points.empty(), mode != DisplayMode::PathMap);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      std::filesystem::remove(entry.path());

    const int recordIndex = state.cursor.file.recordIndex;
    RecordingDeviceContext first, second;
    PaintOptions options;
    EXPECT_EQ(PaintView(shown, state.map, first, kClient, options).outcome, PaintOutcome::Drawn);
    EXPECT_EQ(PaintView(shown, state.map, second, kClient, options).outcome, PaintOutcome::Drawn);
    const std::vector<std::string> texts = TextsOf(first);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(TextsOf(second), texts);
    if (*expected) {
      EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end());
    }
    EXPECT_EQ(first.CallCount(), second.CallCount());
    EXPECT_EQ(state.cursor.file.recordIndex, recordIndex);
    EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // no KML file written by a paint
  }
}

TEST(ViewPaint, AStoppedCommandsMessageIsWhatThePaintDraws) {
  testing::TempDataDir dir;  // no site list, no element file
  ProgramState state;
  state.SetDataDirectory(dir.path());
  state.cursor.file.messages = nullptr;
  CurrentDisplay shown = RunDisplayCommand(state);
  EXPECT_FALSE(shown.sitesLoaded);
  ASSERT_FALSE(shown.message.lines.empty());
  RecordingDeviceContext dc;
  EXPECT_EQ(PaintView(shown, state.map, dc, kClient).outcome, PaintOutcome::Stopped);
  EXPECT_EQ(TextsOf(dc).front(), shown.message.lines.front());

  // With the site list but no element file: the load stops with its message.
  dir.Write("location.new", "Osaka,135,35,0,0\n");
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  shown = RunDisplayCommand(state);
  ASSERT_EQ(shown.result, RefreshResult::Stopped);
  RecordingDeviceContext missing;
  EXPECT_EQ(PaintView(shown, state.map, missing, kClient).outcome, PaintOutcome::Stopped);
  EXPECT_EQ(TextsOf(missing).front(), shown.message.lines.front());
  // The next command asks for a date (the program's date dialog); its paint
  // draws nothing but the black window.
  shown = RunDisplayCommand(state);
  EXPECT_EQ(shown.result, RefreshResult::NeedsDate);
  RecordingDeviceContext asking;
  EXPECT_EQ(PaintView(shown, state.map, asking, kClient).outcome, PaintOutcome::NeedsDate);
  EXPECT_TRUE(asking.Texts().empty());
}

}  // namespace
}  // namespace vernier
