#include "program/search_list.h"

#include <gtest/gtest.h>

#include <sstream>

#include "gdi/recording_device_context.h"
#include "program/navigation.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::FormatRecords;

// A record with its catalogue numbers derived from xz, so that a row shows
// which record it came from. The shadow crosses the Earth's centre at t = 0:
// an observer at 0° 0° sees it centrally, magnitude 0.5, Moon overhead.
BesselianElements Event(double year, double month, double day, double xz, double type = 1) {
  BesselianElements e = testing::DatedRecord(year, month, day, xz);
  e.type = type;
  e.zc = xz + 1;
  e.sao = xz + 2;
  e.hip = xz + 3;
  e.t0 = 0;
  e.x0 = 0, e.x1 = 0.55, e.y0 = 0, e.y1 = 0;
  e.d0 = 0, e.mu0 = 0, e.mu1 = 15;
  e.l10 = e.l20 = 0.2725;
  return e;
}

class SearchListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.SetDataDirectory(dir.path());
    state.cursor.file.messages = nullptr;
    state.today = [] { return CalendarDay{2199, 1, 1}; };
    dir.Write("ecad22.PRN", FormatRecords({Event(2199, 3, 1, 10), Event(2200, 1, 5, 11, 2),
                                           Event(2200, 6, 1, 12), Event(2200, 12, 31, 13, 2)}));
    dir.Write("ecad24.PRN", FormatRecords({Event(2201, 1, 10, 20), Event(2201, 5, 5, 21, 2),
                                           Event(2202, 1, 1, 22)}));
  }
  // The program's first paint: the event at today's date (2199-03-01, xz 10).
  void LoadStart() {
    RecordingDeviceContext view;
    ASSERT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);
    state.navigation.paintRequest = PaintRequest::Redraw;
  }
  std::vector<double> RowXz() const {
    std::vector<double> xz;
    for (const EventEntry& row : state.results.rows) xz.push_back(row.xz);
    return xz;
  }
  std::vector<double> RowSeek() const {
    std::vector<double> seek;
    for (const EventEntry& row : state.results.rows) seek.push_back(row.seekPosition);
    return seek;
  }
  // The scan's row count; its message kept in `message`.
  int Scan(double startYear, double periodYears) {
    SearchScan scan = ScanSearchList(state, startYear, periodYears);
    message = scan.message;
    return scan.rowCount;
  }
  testing::TempDataDir dir;
  ProgramState state;
  UserMessage message;
};

TEST_F(SearchListTest, ScanCrossesIntoTheNextBandAndDrawingARowLoadsThatRecord) {
  LoadStart();
  ASSERT_EQ(state.cursor.elements.xz, 10);
  EXPECT_EQ(Scan(2200, 2), 5);
  EXPECT_EQ(RowXz(), (std::vector<double>{11, 12, 13, 20, 21}));
  EXPECT_EQ(RowSeek(), (std::vector<double>{3, 4, 5, 2, 3}));
  const EventEntry& first = state.results.rows[0];
  EXPECT_EQ(first.year, 2200);
  EXPECT_EQ(first.month, 1);
  EXPECT_EQ(first.day, 5);
  EXPECT_EQ(first.type, 2);
  EXPECT_EQ(first.zc, 12);
  EXPECT_EQ(first.sao, 13);
  EXPECT_EQ(first.hip, 14);
  EXPECT_TRUE(message.empty());

  // The scan leaves the view's event loaded, and "next" continues from it.
  EXPECT_EQ(state.cursor.elements.xz, 10);
  EXPECT_EQ(state.cursor.event.year, 2199);
  EXPECT_EQ(state.cursor.event.month, 3);
  EXPECT_EQ(state.cursor.file.fileName, "ecad22.PRN");
  EXPECT_EQ(state.cursor.file.recordIndex, 1);
  RecordingDeviceContext view;
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 11);

  // Drawing the rows found in "ecad24.PRN" loads those very records, and the
  // reader reads on after them.
  state.selectedRow = 4;
  ASSERT_TRUE(LoadSearchResult(state));
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  EXPECT_EQ(state.cursor.elements.xz, 21);
  EXPECT_EQ(state.cursor.event.xz, 21);
  EXPECT_EQ(state.cursor.file.fileName, "ecad24.PRN");
  EXPECT_EQ(state.cursor.file.recordIndex, 2);
  state.selectedRow = 3;
  ASSERT_TRUE(LoadSearchResult(state));
  EXPECT_EQ(state.cursor.elements.xz, 20);
  ASSERT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);  // the redraw
  EXPECT_EQ(state.cursor.elements.xz, 20);
  state.navigation.paintRequest = PaintRequest::StepForward;
  ASSERT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);
  EXPECT_EQ(state.cursor.elements.xz, 21);
  // And a row of the first file.
  state.selectedRow = 1;
  ASSERT_TRUE(LoadSearchResult(state));
  EXPECT_EQ(state.cursor.elements.xz, 12);
  EXPECT_EQ(state.cursor.elements.year, 2200);
  EXPECT_EQ(state.cursor.file.fileName, "ecad22.PRN");
  EXPECT_TRUE(view.Texts().empty());
}

TEST_F(SearchListTest, TheFirstRecordOfTheStartFileIsListedAndEarlierYearsAreNot) {
  // The first record lies in the span: it is listed with the position of
  // record 1, and drawing it loads record 1.
  EXPECT_EQ(Scan(2199, 1), 1);
  EXPECT_EQ(RowXz(), std::vector<double>{10});
  EXPECT_EQ(RowSeek(), std::vector<double>{2});
  state.selectedRow = 0;
  ASSERT_TRUE(LoadSearchResult(state));
  EXPECT_EQ(state.cursor.elements.xz, 10);
  EXPECT_EQ(state.cursor.file.recordIndex, 1);

  // The same record before the span is read but not kept.
  EXPECT_EQ(Scan(2200, 1), 3);
  EXPECT_EQ(RowXz(), (std::vector<double>{11, 12, 13}));
  // A span in the second band starts from that band's first record.
  EXPECT_EQ(Scan(2201, 1), 2);
  EXPECT_EQ(RowXz(), (std::vector<double>{20, 21}));
  EXPECT_EQ(RowSeek(), (std::vector<double>{2, 3}));
  EXPECT_TRUE(message.empty());
}

TEST_F(SearchListTest, SearchConditions) {
  LoadStart();
  // Mode 1: the central events only.
  state.search.searchMode = SearchMode::EventType;
  state.search.typeCode = 2;
  EXPECT_EQ(Scan(2199, 4), 3);
  EXPECT_EQ(RowXz(), (std::vector<double>{11, 13, 21}));
  state.search.typeCode = 1;
  Scan(2199, 4);
  EXPECT_EQ(RowXz(), (std::vector<double>{10, 12, 20, 22}));

  // Mode 3 lists the star of the current event, whatever number is set.
  dir.Write("ecad22.PRN",
            FormatRecords({Event(2150, 1, 1, 7), Event(2160, 1, 1, 8), Event(2170, 1, 1, 7),
                           Event(2180, 1, 1, 8), Event(2190, 1, 1, 7), Event(2195, 1, 1, 8)}));
  state.search.searchMode = SearchMode::AllEvents;
  state.cursor.event.year = 2160, state.cursor.event.month = 1, state.cursor.event.day = 1;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  RecordingDeviceContext view;
  ASSERT_EQ(RefreshCurrentEvent(state).result, RefreshResult::Drawable);
  ASSERT_EQ(state.cursor.event.xz, 8);
  state.navigation.paintRequest = PaintRequest::Redraw;
  state.search.searchMode = SearchMode::OneStar;
  state.search.xzTarget = 7;
  EXPECT_EQ(Scan(2150, 40), 2);
  EXPECT_EQ(RowXz(), (std::vector<double>{8, 8}));
  EXPECT_EQ(RowSeek(), (std::vector<double>{3, 5}));
  EXPECT_TRUE(message.empty());  // the series goes on within the file

  // Mode 2: the observer at 0° 0° sees every event with magnitude 0.5.
  state.search.searchMode = SearchMode::SeenAtSite;
  state.site.longitude = 0, state.site.latitude = 0;
  state.search.minMagnitude = 0.4;
  EXPECT_EQ(Scan(2160, 20), 2);
  EXPECT_EQ(RowXz(), (std::vector<double>{8, 7}));
  state.search.minMagnitude = 0.6;
  EXPECT_EQ(Scan(2160, 20), 0);
  // The scan's site evaluations leave the view's record and state as they were.
  EXPECT_EQ(state.cursor.elements.year, 2160);
  EXPECT_FALSE(state.navigation.siteMaximum.valid);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
}

TEST_F(SearchListTest, MissingFilesAndTheEndOfTheFiles) {
  LoadStart();
  // The next band's file is missing: the rows found so far and the message.
  std::filesystem::remove(dir.File("ecad24.PRN"));
  EXPECT_EQ(Scan(2200, 1), 3);
  EXPECT_EQ(message.lines, (std::vector<std::string>{
                               "ベッセル要素ファイルがありません！ 1 ",
                               "データディレクトリにない要素ファイル：ecad24.PRN"}));
  EXPECT_EQ(message.kind, MessageKind::Notice);

  // A series with no later event reads to the end of the files; one with a
  // later event in the file stops there.
  state.search.searchMode = SearchMode::OneStar;
  EXPECT_EQ(Scan(2199, 1), 1);
  EXPECT_EQ(message.lines.size(), 2u);
  dir.Write("ecad22.PRN",
            FormatRecords({Event(2199, 3, 1, 10), Event(2200, 1, 5, 11), Event(2200, 6, 1, 10)}));
  EXPECT_EQ(Scan(2199, 1), 1);
  EXPECT_TRUE(message.empty());

  // No file for the start year: no rows and no message; the event stays.
  state.search.searchMode = SearchMode::AllEvents;
  EXPECT_EQ(Scan(2300, 1), 0);
  EXPECT_TRUE(state.results.rows.empty());
  EXPECT_TRUE(message.empty());
  EXPECT_EQ(state.cursor.elements.xz, 10);
  EXPECT_EQ(state.cursor.file.fileName, "ecad22.PRN");

  // The end of the last file ends the scan quietly.
  dir.Write("ecad40.PRN", FormatRecords({Event(3999, 1, 1, 1), Event(4000, 12, 1, 2)}));
  EXPECT_EQ(Scan(4000, 1), 1);
  EXPECT_TRUE(message.empty());
}

TEST_F(SearchListTest, AtMost1000RowsAreKept) {
  std::vector<BesselianElements> records;
  for (int i = 0; i < 1100; ++i) records.push_back(Event(2100, 1 + i / 100, 1 + i % 28, 100 + i));
  dir.Write("ecad22.PRN", FormatRecords(records));
  EXPECT_EQ(Scan(2100, 1), 1000);
  EXPECT_EQ(state.results.rows.front().xz, 100);
  EXPECT_EQ(state.results.rows.back().xz, 1099);
  EXPECT_EQ(state.results.rows.back().seekPosition, 1001);
  state.selectedRow = 999;
  ASSERT_TRUE(LoadSearchResult(state));
  EXPECT_EQ(state.cursor.elements.xz, 1099);
}

TEST_F(SearchListTest, DrawingWithNoSuchRowLoadsNothing) {
  LoadStart();
  state.results.rows.clear();
  state.selectedRow = 0;
  EXPECT_FALSE(LoadSearchResult(state));
  EXPECT_EQ(state.cursor.elements.xz, 10);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  EXPECT_EQ(state.cursor.event.year, 2199);

  Scan(2200, 1);
  for (int row : {3, -1}) {
    state.selectedRow = row;
    EXPECT_FALSE(LoadSearchResult(state)) << row;
    EXPECT_EQ(state.cursor.elements.xz, 10);
  }
  // A row whose file has gone: the next paint loads at its date instead.
  std::filesystem::remove(dir.File("ecad22.PRN"));
  state.selectedRow = 2;
  EXPECT_FALSE(LoadSearchResult(state));
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::ReadAtDate);
  EXPECT_EQ(state.cursor.event.month, 12);
  EXPECT_EQ(state.cursor.event.day, 31);
}

TEST(SearchListText, HeaderAndRows) {
  EXPECT_EQ(SearchListHeader(), "    Date          XZ#      SAO#      HIP#       ZC#");
  EventEntry row{2025, 1, 1, 2, 12345, 1234, 98765, 40, 54321};
  EXPECT_EQ(SearchListRow(row, true), "  2025.0101     12345     98765    54321     1234");
  EXPECT_EQ(SearchListRow(row, false), "  2025.0101     12345     98765    54321    1234");
  row.year = 2024, row.month = 3, row.day = 15;
  EXPECT_EQ(SearchListRow(row, true).substr(0, 11), "  2024.0315");
  row.year = 2024, row.month = 12, row.day = 31;
  EXPECT_EQ(SearchListRow(row, true).substr(0, 11), "  2024.1231");
  row.year = -500, row.month = 7, row.day = 3;
  EXPECT_EQ(SearchListRow(row, true).substr(0, 11), "  -500.0703");
  row.year = -2999, row.month = 1, row.day = 1;
  EXPECT_EQ(SearchListRow(row, true).substr(0, 11), " -2999.0101");
  row.year = 0, row.month = 3, row.day = 15;  // year 0 (1 BC) counts as negative
  EXPECT_EQ(SearchListRow(row, true).substr(0, 11), "    -0.0315");
  // Planets, stars without SAO number, a six-digit HIP number.
  EventEntry planet{1987, 6, 8, 1, 5, 0, 0, 2, 117000};
  EXPECT_EQ(SearchListRow(planet, true), "  1987.0608         5         0   117000        0");

  // With the name lists: the planet's name, a named star's name; an unnamed
  // star's row stays as it is.
  StarNames names;
  std::istringstream designations(" 54321|α_Tst\n");
  names.ReadDesignations(designations);
  EXPECT_EQ(SearchListRow(planet, true, &names),
            "  1987.0608         5         0   117000        0  Jupiter");
  row = {2025, 1, 1, 2, 12345, 1234, 98765, 40, 54321};
  EXPECT_EQ(SearchListRow(row, true, &names),
            "  2025.0101     12345     98765    54321     1234  α Tst");
  row.hip = 54322;
  EXPECT_EQ(SearchListRow(row, true, &names), "  2025.0101     12345     98765    54322     1234");
}

}  // namespace
}  // namespace vernier
