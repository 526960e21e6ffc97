// A command stopped by a missing band's file says which band it lacked, and
// carries on once the file is there.
#include "program/missing_band.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "program/navigation.h"
#include "program/search_list.h"
#include "support/central_star.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::CentralStar;
using testing::FormatRecords;

class MissingBandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.SetDataDirectory(dir.path());
    state.cursor.file.messages = nullptr;
    state.today = [] { return CalendarDay{2026, 12, 7}; };
    dir.Write("ecad22.PRN",
              FormatRecords({CentralStar(1951, 3, 1, 100, 1), CentralStar(2200, 6, 1, 200, 2)}));
  }
  // The date dialog's answer (after a failed load's request for a date).
  void ReadAt(int year, int month, int day) {
    state.navigation.loadFailed = false;
    state.cursor.event.year = year, state.cursor.event.month = month, state.cursor.event.day = day;
    state.navigation.paintRequest = PaintRequest::ReadAtDate;
    RefreshCurrentEvent(state);
  }
  testing::TempDataDir dir;
  ProgramState state;
};

void ExpectBand(const std::optional<MissingBand>& band, const std::string& name, int year,
                int month, int day, BandNeed need) {
  ASSERT_TRUE(band.has_value()) << name;
  EXPECT_EQ(band->fileName, name);
  EXPECT_EQ(band->year, year);
  EXPECT_EQ(band->month, month);
  EXPECT_EQ(band->day, day);
  EXPECT_EQ(band->need, need);
}

TEST_F(MissingBandTest, EachStoppedCommandNamesTheBandItLacked) {
  // A date in a band without a file.
  ReadAt(1900, 5, 6);
  ExpectBand(state.navigation.missingBand, "ecad20.PRN", 1900, 5, 6, BandNeed::Date);
  ReadAt(-2500, 1, 1);
  ExpectBand(state.navigation.missingBand, "ecbc24.PRN", -2500, 1, 1, BandNeed::Date);

  // Next from the last record of ecad22: ecad24 begins in 2201.
  state.navigation.missingBand.reset();
  ReadAt(2200, 1, 1);
  ASSERT_EQ(state.cursor.elements.xz, 200);
  EXPECT_FALSE(state.navigation.missingBand);
  state.navigation.paintRequest = PaintRequest::StepForward;
  EXPECT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Stopped);
  ExpectBand(state.navigation.missingBand, "ecad24.PRN", 2201, 1, 1, BandNeed::Next);

  // A search that runs through the files present without a match says so and
  // names the file that ends them, but offers no band to build.
  state.navigation.missingBand.reset();
  state.search.searchMode = SearchMode::EventType;
  state.search.typeCode = 1;  // both records are central
  state.navigation.loadFailed = false;
  state.cursor.event.year = 2200, state.cursor.event.month = 1, state.cursor.event.day = 1;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  const RefreshOutcome none = RefreshCurrentEvent(state);
  EXPECT_EQ(none.result, RefreshResult::Stopped);
  EXPECT_EQ(none.message.lines,
            (std::vector<std::string>{"検索条件に合う星蝕は見つかりませんでした。",
                                      "これより後の要素ファイルがありません：ecad24.PRN"}));
  EXPECT_FALSE(state.navigation.missingBand);
  state.search.searchMode = SearchMode::AllEvents;

  // Back from the first record of ecad22: ecad20 ends in 1950.
  state.navigation.missingBand.reset();
  ReadAt(1951, 1, 1);
  ASSERT_EQ(state.cursor.elements.xz, 100);
  StepBack(state);
  ExpectBand(state.navigation.missingBand, "ecad20.PRN", 1950, 1, 1, BandNeed::Previous);

  // The search list, at its start year and reading on past ecad22.
  ScanSearchList(state, 1900, 1);
  ExpectBand(state.navigation.missingBand, "ecad20.PRN", 1900, 1, 1, BandNeed::List);
  ScanSearchList(state, 2200, 1);
  ExpectBand(state.navigation.missingBand, "ecad24.PRN", 2201, 1, 1, BandNeed::List);
  // A scan that needs no other band reports none.
  ScanSearchList(state, 1951, 1);
  EXPECT_FALSE(state.navigation.missingBand);

  // A file that is there but holds no record is not a missing band, in any
  // letter case; nor is a year beyond the last band.
  dir.Write("ECAD20.prn", "");
  state.navigation.missingBand.reset();
  ReadAt(1900, 5, 6);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::ReadAtDate);
  EXPECT_FALSE(state.navigation.missingBand);
  EXPECT_FALSE(FindMissingBand(dir.path(), BandNeed::Date, 4001));
  // No band holds a year before -3000: none is offered.
  EXPECT_FALSE(FindMissingBand(dir.path(), BandNeed::Date, -10000));
  EXPECT_FALSE(FindMissingBand(dir.path(), BandNeed::Date, -3001));
  EXPECT_EQ(FindMissingBand(dir.path(), BandNeed::Date, -3000)->fileName, "ecbc28.PRN");
}

TEST_F(MissingBandTest, OnceTheBandIsBuiltTheCommandCarriesOn) {
  ReadAt(1900, 5, 6);
  const MissingBand atDate = *state.navigation.missingBand;
  dir.Write("ecad20.PRN",
            FormatRecords({CentralStar(1900, 3, 1, 10, 1), CentralStar(1900, 7, 1, 20, 1),
                           CentralStar(1950, 12, 31, 30, 1)}));
  // The paint after the failure asked for a date and put today in its place.
  EXPECT_EQ(RefreshCurrentEvent(state).result, RefreshResult::NeedsDate);
  ContinueWithBuiltBand(state, atDate);
  EXPECT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 20);  // the first event on or after 6 May 1900

  // Back from the first record of ecad22 once ecad20 is there: its last record.
  std::filesystem::remove(dir.File("ecad20.PRN"));
  ReadAt(1951, 1, 1);
  ASSERT_EQ(state.cursor.elements.xz, 100);
  StepBack(state);
  EXPECT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Stopped);  // "the first event"
  const MissingBand before = *state.navigation.missingBand;
  dir.Write("ecad20.PRN",
            FormatRecords({CentralStar(1900, 3, 1, 10, 1), CentralStar(1950, 12, 31, 30, 1)}));
  ContinueWithBuiltBand(state, before);
  EXPECT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 30);

  // Next past ecad22 once ecad24 is there: its first event.
  ReadAt(2200, 1, 1);
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Stopped);
  const MissingBand after = *state.navigation.missingBand;
  dir.Write("ecad24.PRN", FormatRecords({CentralStar(2250, 1, 1, 40, 1)}));
  ContinueWithBuiltBand(state, after);
  EXPECT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 40);
}

}  // namespace
}  // namespace vernier
