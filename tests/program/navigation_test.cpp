#include "program/navigation.h"

#include <gtest/gtest.h>

#include "gdi/draw_user_message.h"
#include "gdi/recording_device_context.h"
#include "support/central_star.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::CentralStar;
using testing::DatedRecord;
using testing::FormatRecords;


class NavigationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.SetDataDirectory(dir.path());
    state.cursor.file.messages = nullptr;
    state.today = [] { return CalendarDay{2026, 12, 7}; };
    dir.Write("ecad22.PRN", FormatRecords({CentralStar(2026, 11, 1, 100, 1),
                                           CentralStar(2026, 12, 10, 200, 2),
                                           CentralStar(2027, 1, 5, 300, 1),
                                           CentralStar(2200, 6, 1, 145, 2)}));
    dir.Write("ecad24.PRN", FormatRecords({CentralStar(2201, 2, 3, 400, 1),
                                           CentralStar(2300, 1, 1, 145, 1)}));
  }
  // The refresh as the view runs it: a stopped refresh's message drawn.
  RefreshResult Refresh() {
    const RefreshOutcome outcome = RefreshCurrentEvent(state);
    DrawUserMessage(dc, outcome.message);
    return outcome.result;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& t : dc.Texts()) texts.push_back(t.text);
    return texts;
  }
  testing::TempDataDir dir;
  ProgramState state;
  RecordingDeviceContext dc;
};

TEST_F(NavigationTest, StartShowsTheFirstEventOnOrAfterTodayAndNextStepsAcrossFiles) {
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 200);
  EXPECT_EQ(state.cursor.event.day, 10);
  EXPECT_NEAR(state.navigation.eventDeltaT, 63.8272, 1e-9);  // jd 2451545
  state.navigation.paintRequest = PaintRequest::Redraw;

  // Next, next: the last record of ecad22, then the first of ecad24.
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 300);
  state.navigation.paintRequest = PaintRequest::StepForward;
  Refresh();
  EXPECT_EQ(state.cursor.elements.xz, 145);
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 400);
  EXPECT_EQ(state.cursor.file.fileName, "ecad24.PRN");

  // Back from the first record of ecad24: the last record of ecad22, then the
  // one before it.
  StepBack(state);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  EXPECT_EQ(state.cursor.elements.xz, 145);
  EXPECT_EQ(state.cursor.elements.year, 2200);
  EXPECT_EQ(state.cursor.file.fileName, "ecad22.PRN");
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 145);
  StepBack(state);
  EXPECT_EQ(state.cursor.elements.xz, 300);
  EXPECT_TRUE(dc.Texts().empty());
}

TEST_F(NavigationTest, BackFromTheFirstRecordOfTheFirstFileStaysAndSaysSo) {
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  state.cursor.event.year = 2026, state.cursor.event.month = 1, state.cursor.event.day = 1;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 100);
  // No ecad20.PRN: the first record stays, and the next paint says why.
  StepBack(state);
  EXPECT_EQ(state.cursor.elements.xz, 100);
  EXPECT_EQ(Refresh(), RefreshResult::Stopped);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"ベッセル要素ファイルの最初の星蝕です。",
                                               "これより前のベッセル要素ファイルがありません。"}));
  EXPECT_EQ(dc.Texts()[0].x, 50);
  // Said once: the paint after shows the record, and next reads on after it.
  dc.Clear();
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 100);
  EXPECT_TRUE(dc.Texts().empty());
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 200);

  // A file before it that holds no record counts as none.
  dir.Write("ecad20.PRN", "");
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  state.cursor.event.year = 2026, state.cursor.event.month = 1, state.cursor.event.day = 1;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  StepBack(state);
  EXPECT_EQ(state.cursor.elements.xz, 100);
  EXPECT_TRUE(state.navigation.noEarlierRecord);
  // A command before the paint takes the place of the message.
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 200);
  EXPECT_FALSE(state.navigation.noEarlierRecord);

  // With the band before present, back leads into its last record.
  dir.Write("ecad20.PRN",
            FormatRecords({CentralStar(1900, 1, 1, 10, 1), CentralStar(1950, 12, 31, 20, 1)}));
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  state.cursor.event.year = 2026, state.cursor.event.month = 1, state.cursor.event.day = 1;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  StepBack(state);
  EXPECT_EQ(state.cursor.elements.xz, 20);
  EXPECT_EQ(state.cursor.file.recordIndex, 2);
  StepBack(state);
  EXPECT_EQ(state.cursor.elements.xz, 10);
}

TEST_F(NavigationTest, ADateAfterTheLastRecordOfItsFileStepsIntoTheNextFile) {
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  state.cursor.event.year = 2200, state.cursor.event.month = 7, state.cursor.event.day = 1;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 400);
  // Also when the file's last record lies in the requested year itself.
  dir.Write("ecad22.PRN", FormatRecords({CentralStar(2199, 6, 1, 1, 1)}));
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  state.cursor.event.year = 2199, state.cursor.event.month = 12, state.cursor.event.day = 31;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 400);
}

TEST_F(NavigationTest, TypeAndSeriesSearches) {
  state.search.searchMode = SearchMode::EventType;  // central only
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 200);
  state.navigation.paintRequest = PaintRequest::StepForward;
  Refresh();
  EXPECT_EQ(state.cursor.elements.xz, 145);  // the partial of 2027 is skipped
  // The previous command keeps the event in the search modes.
  StepBack(state);
  EXPECT_EQ(state.cursor.elements.xz, 145);

  // Series of XZ 145: from 2200 the next one lies within 400 years.
  state.search.searchMode = SearchMode::OneStar;
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.year, 2300);
}

TEST_F(NavigationTest, ASeriesWithNoEventWithin400YearsStopsWithItsMessage) {
  std::vector<BesselianElements> records;
  for (int y = 2000; y <= 2200; y += 10) records.push_back(CentralStar(y, 1, 1, 7, 1));
  dir.Write("ecad22.PRN", FormatRecords(records));
  records.clear();
  for (int y = 2210; y <= 2400; y += 10) records.push_back(CentralStar(y, 1, 1, 7, 1));
  dir.Write("ecad24.PRN", FormatRecords(records));
  records.clear();
  for (int y = 2410; y <= 2600; y += 10) records.push_back(CentralStar(y, 1, 1, 7, 1));
  dir.Write("ecad26.PRN", FormatRecords(records));
  state.search.searchMode = SearchMode::OneStar;
  state.search.xzTarget = 999;
  state.today = [] { return CalendarDay{2000, 1, 1}; };
  EXPECT_EQ(Refresh(), RefreshResult::Stopped);
  EXPECT_EQ(Texts(), std::vector<std::string>{"このサロスは４００年の間にありませんでした。"});
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::ReadAtDate);
  EXPECT_EQ(state.cursor.elements.year, 2410);  // the first record past 400 years
}

TEST_F(NavigationTest, MissingFilesAndTheEndOfTheFilesStopWithTheirMessages) {
  // The file for the date is missing: message, then a date is asked for.
  state.today = [] { return CalendarDay{1900, 1, 1}; };
  EXPECT_EQ(Refresh(), RefreshResult::Stopped);
  // It names the file the data directory lacks, not a place to start from.
  EXPECT_EQ(Texts(), (std::vector<std::string>{"ベッセル要素ファイルがありません！",
                                               "データディレクトリにない要素ファイル：ecad20.PRN"}));
  EXPECT_EQ(dc.Texts()[0].x, 50);
  EXPECT_EQ(dc.Texts()[1].y, 32);
  EXPECT_TRUE(state.navigation.loadFailed);
  EXPECT_EQ(Refresh(), RefreshResult::NeedsDate);
  EXPECT_FALSE(state.navigation.loadFailed);
  EXPECT_EQ(state.cursor.event.year, 1900);

  // Stepping past the last file present: the next band's file is missing.
  dc.Clear();
  state.cursor.event.year = 2300, state.cursor.event.month = 1, state.cursor.event.day = 1;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  state.navigation.paintRequest = PaintRequest::StepForward;
  EXPECT_EQ(Refresh(), RefreshResult::Stopped);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"ベッセル要素ファイルが終了しました",
                                               "早い年代を設定し、検索モードを変更ください。"}));

  // The end of the last file of all.
  dc.Clear();
  dir.Write("ecad40.PRN", FormatRecords({CentralStar(3900, 1, 1, 1, 1)}));
  state.navigation = NavigationState{};
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  state.cursor.event.year = 3900;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  state.navigation.paintRequest = PaintRequest::StepForward;
  EXPECT_EQ(Refresh(), RefreshResult::Stopped);
  EXPECT_EQ(Texts(), std::vector<std::string>{"ベッセル要素ファイルが終了しました。"});
  EXPECT_EQ(dc.Texts()[0].x, 10);  // a status line at the left edge, not a notice
  EXPECT_EQ(state.cursor.elements.year, 3900);  // the last record stays loaded
}

TEST_F(NavigationTest, SiteSearchTestsTheObserversMaximum) {
  state.search.searchMode = SearchMode::SeenAtSite;
  state.search.minMagnitude = 0.3;
  state.site.longitude = 0, state.site.latitude = 0;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 200);
  EXPECT_TRUE(state.navigation.siteMaximum.valid);
  EXPECT_NEAR(state.navigation.siteMaximum.magnitude, 0.5, 1e-6);
  EXPECT_GT(state.navigation.siteMaximum.altitude, 89);

  // Far from the track every event fails; the search runs to the end.
  state.site.latitude = 70;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  EXPECT_EQ(Refresh(), RefreshResult::Stopped);
}

TEST_F(NavigationTest, SiteSearchTestsItsLimitsAlikeWhereverItTestsThem) {
  // Every record here gives the observer at 0° 0° the same maximum: with that
  // very magnitude as the least one wanted, the load at the date steps over
  // the event as the next command does, and the search runs to the end.
  state.search.searchMode = SearchMode::SeenAtSite;
  state.site.longitude = 0, state.site.latitude = 0;
  state.search.minMagnitude = 0.3;
  ASSERT_EQ(Refresh(), RefreshResult::Drawable);
  state.search.minMagnitude = state.navigation.siteMaximum.magnitude;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  EXPECT_EQ(Refresh(), RefreshResult::Stopped);

  // The altitude limit: a body exactly at it is not seen.
  state.navigation.siteMaximum.valid = true;
  state.search.minMagnitude = 0.3;
  state.navigation.siteMaximum.magnitude = 0.5;
  state.navigation.siteMaximum.altitude = kSiteSearchLowestAltitude;
  EXPECT_FALSE(SiteMaximumSeen(state.navigation.siteMaximum, state.search));
  state.navigation.siteMaximum.altitude = kSiteSearchLowestAltitude + 1e-9;
  EXPECT_TRUE(SiteMaximumSeen(state.navigation.siteMaximum, state.search));
  state.navigation.siteMaximum.valid = false;
  EXPECT_FALSE(SiteMaximumSeen(state.navigation.siteMaximum, state.search));
}

}  // namespace
}  // namespace vernier
