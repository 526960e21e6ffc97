#include "app/predictions_window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QSet>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <map>
#include <set>

#include "app_fixture.h"
#include "local/prediction_table.h"
#include "program/predicted_event.h"

namespace vernier {
namespace {

std::string TestData(const std::string& relative) {
  return std::string(VERNIER_TEST_DATA_DIR) + "/" + relative;
}

int Column(const char* name) {
  return PredictionFieldIndex(name);
}

class PredictionsWindowTest : public testing::AppTest {
 protected:
  PredictionsWindowTest() : window(TestData("predictions"), Lubbock(), "Lubbock") {
    window.FromEdit()->setDate(QDate(2003, 3, 24));
    window.DaysEdit()->setValue(133);
    window.Compute();
    EXPECT_TRUE(window.WaitForRun());
  }
  static ObserverSite Lubbock() {
    ObserverSite site;
    site.longitude = -101.855;
    site.latitude = 33.578;
    site.height = 990;
    site.cityIndex = kTypedSiteIndex;
    return site;
  }
  QString Cell(int row, const char* column) {
    return window.Filter().index(row, Column(column)).data().toString();
  }
  PredictionsWindow window;
};

TEST_F(PredictionsWindowTest, RowsSortByTimeAndByNumber) {
  QAbstractItemModel& rows = window.Filter();
  ASSERT_GT(rows.rowCount(), 10);
  for (int r = 1; r < rows.rowCount(); ++r)
    EXPECT_LE(rows.index(r - 1, 0).data(Qt::UserRole).toDouble(),
              rows.index(r, 0).data(Qt::UserRole).toDouble());
  // Magnitudes as numbers: -1 sorts before 10, not after.
  window.Table()->sortByColumn(Column("magnitude"), Qt::AscendingOrder);
  for (int r = 1; r < rows.rowCount(); ++r)
    EXPECT_LE(Cell(r - 1, "magnitude").toDouble(), Cell(r, "magnitude").toDouble()) << r;
}

TEST_F(PredictionsWindowTest, FiltersOnMagnitudeAndLimbAndExportsWhatIsShown) {
  const int all = window.Filter().rowCount();
  window.MagnitudeFilter()->setValue(3.6);
  window.LimbFilter()->setCurrentIndex(1);  // dark
  const int shown = window.Filter().rowCount();
  ASSERT_GT(shown, 0);
  ASSERT_LT(shown, all);
  for (int r = 0; r < shown; ++r) {
    EXPECT_LE(Cell(r, "magnitude").toDouble(), 3.6);
    EXPECT_EQ(Cell(r, "limb"), "暗縁");
  }
  // The count says how many of the contacts are shown.
  EXPECT_EQ(window.Status()->text(), QString("%1 件を表示（全 %2 件）").arg(shown).arg(all));
  window.MagnitudeFilter()->setValue(99);
  window.LimbFilter()->setCurrentIndex(0);
  EXPECT_EQ(window.Status()->text(), QString("%1 件の接触").arg(all));
  window.MagnitudeFilter()->setValue(3.6);
  window.LimbFilter()->setCurrentIndex(1);
  QTemporaryDir dir;
  const QString path = dir.filePath("predictions.csv");
  ASSERT_TRUE(window.ExportCsv(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), shown + 1);
  EXPECT_TRUE(lines[0].startsWith("date,ut,local_time,kind,body,hip"));
  EXPECT_TRUE(lines[1].startsWith(Cell(0, "date") + "," + Cell(0, "ut") + ","));

  // The calendar holds the occultations of the rows shown: one event for a
  // star's D and R, none for the rows filtered away.
  const QString calendarPath = dir.filePath("occultations.ics");
  QString problem;
  ASSERT_TRUE(window.ExportCalendar(calendarPath, problem)) << problem.toStdString();
  QFile calendar(calendarPath);
  ASSERT_TRUE(calendar.open(QIODevice::ReadOnly));
  const QString ics = QString::fromUtf8(calendar.readAll());
  EXPECT_TRUE(ics.startsWith("BEGIN:VCALENDAR\r\n"));
  QSet<QString> occultations;
  for (int r = 0; r < shown; ++r)
    occultations.insert(Cell(r, "hip") + "/" + Cell(r, "date").left(7));
  EXPECT_EQ(ics.count("BEGIN:VEVENT"), occultations.size());
  // A file that cannot be written is reported and nothing is left behind.
  const QString nowhere = dir.filePath("missing/occultations.ics");
  EXPECT_FALSE(window.ExportCalendar(nowhere, problem));
  EXPECT_FALSE(problem.isEmpty());
  EXPECT_FALSE(QFile::exists(nowhere));
}

TEST_F(PredictionsWindowTest, CivilTimesFollowTheChosenZone) {
  // Without a zone chosen before: the standard time of the site's longitude,
  // as the local report gives it (101.9 W: UT - 7 h), whatever the machine's.
  EXPECT_EQ(window.ZoneChoice()->currentText(), "UTC-07:00");
  EXPECT_EQ(Cell(0, "local_time"), "2003-03-25 05:05:09 UTC-07:00");
  QSignalSpy chosen(&window, &PredictionsWindow::ZoneChosen);
  window.ZoneChoice()->setCurrentText("America/Chicago");
  ASSERT_EQ(chosen.size(), 1);
  EXPECT_EQ(chosen[0][0].toString(), "America/Chicago");
  // φ Sgr, 2003-03-25 12:05:09 UT: 06:05:09 CST; η Leo in May: CDT.
  // The window shows the civil time as observers read it, with the zone's
  // abbreviation; the export keeps the ISO form.
  EXPECT_EQ(Cell(0, "local_time"), "2003-03-25 06:05:09 CST");
  const int may = 3;
  ASSERT_EQ(Cell(may, "date"), "2003-05-10");
  EXPECT_EQ(Cell(may, "local_time"), "2003-05-10 00:22:38 CDT");
  EXPECT_EQ(window.Model().Record(window.Filter().mapToSource(window.Filter().index(may, 0)).row())
                [Column("local_time")],
            "2003-05-10T00:22:38-05:00");
}

TEST_F(PredictionsWindowTest, HeadersAreTitlesAndRowsNumberTheOccultations) {
  const QAbstractItemModel& rows = window.Filter();
  EXPECT_EQ(rows.headerData(Column("local_time"), Qt::Horizontal).toString(), "地方時");
  EXPECT_EQ(rows.headerData(Column("cusp_angle"), Qt::Horizontal).toString(), "カスプ角");
  // The field's name stays at hand as the tooltip.
  EXPECT_EQ(rows.headerData(Column("cusp_angle"), Qt::Horizontal, Qt::ToolTipRole).toString(),
            "cusp_angle");
  // A D and its R share a number, also after sorting by another column, and
  // two occultations never share one.
  window.Table()->sortByColumn(Column("magnitude"), Qt::AscendingOrder);
  std::map<int, std::set<std::string>> kinds;
  std::map<int, std::set<QString>> dates;
  for (int r = 0; r < rows.rowCount(); ++r) {
    const int number = rows.headerData(r, Qt::Vertical).toInt();
    ASSERT_GT(number, 0);
    kinds[number].insert(Cell(r, "kind").toStdString());
    dates[number].insert(Cell(r, "body"));
  }
  ASSERT_GT(kinds.size(), 3u);
  int paired = 0;
  for (const auto& [number, seen] : kinds) {
    EXPECT_EQ(dates[number].size(), 1u) << number;  // one body a number
    EXPECT_LE(seen.size(), 4u) << number;
    paired += seen.count("D") && seen.count("R");
  }
  EXPECT_GE(paired, 3);
}

TEST(PredictionsWindowZone, TheZoneChosenBeforeIsTheOneItOpensWith) {
  ObserverSite denver;
  denver.longitude = -104.99;
  denver.latitude = 39.74;
  EXPECT_EQ(SiteStandardZoneId(denver), "UTC-07:00");
  denver.longitude = 139.77;
  EXPECT_EQ(SiteStandardZoneId(denver), "UTC+09:00");
  PredictionsWindow window(TestData("predictions"), denver, "Denver", nullptr, "America/Denver");
  EXPECT_EQ(window.ZoneChoice()->currentText(), "America/Denver");
  // A zone id the time-zone data does not know falls back to the site's.
  PredictionsWindow unknown(TestData("predictions"), denver, "Denver", nullptr, "Nowhere/City");
  EXPECT_EQ(unknown.ZoneChoice()->currentText(), "UTC+09:00");
}

TEST_F(PredictionsWindowTest, DoubleClickChoosesTheRowsEvent) {
  QSignalSpy chosen(&window, &PredictionsWindow::EventChosen);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTableView* table = window.Table();
  const QModelIndex index = window.Filter().index(2, 0);
  table->scrollTo(index);
  const QPoint at = table->visualRect(index).center();
  // The view takes a double click as the second press of a click pair.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
  ASSERT_EQ(chosen.size(), 1);
  const auto contact = chosen[0][0].value<PredictedContact>();
  EXPECT_EQ(FormatUt(contact.jdUT).time, Cell(2, "ut").toStdString());
  EXPECT_GT(contact.recordIndex, 0);
  // The contact's own record comes with it.
  const auto record = chosen[0][2].value<BesselianElements>();
  EXPECT_EQ(record.xz, contact.xz);
  EXPECT_EQ(record.day, contact.eventDay);
}

// The chosen contact's record is loaded again with the site as observer.
TEST_F(PredictionsWindowTest, LoadingAContactLoadsItsRecord) {
  ProgramState loaded;
  loaded.SetDataDirectory(TestData("predictions"));
  const PredictedContact& contact =
      window.Model().Contact(window.Filter().mapToSource(window.Filter().index(0, 0)).row());
  ASSERT_TRUE(LoadPredictedEvent(loaded, contact, window.Site()));
  EXPECT_EQ(loaded.cursor.elements.hip, contact.hip);
  EXPECT_EQ(loaded.cursor.elements.day, contact.eventDay);
  EXPECT_EQ(loaded.site.longitude, -101.855);
  EXPECT_EQ(loaded.navigation.paintRequest, PaintRequest::Redraw);
}

// A damaged record ends the list in the window as in vernier-cli: the rows
// before it, and the status names the file and the record.
TEST_F(PredictionsWindowTest, AnUnreadableRecordIsSaidWithTheRowsBeforeIt) {
  QFile source(QString::fromStdString(TestData("predictions/ecad22.PRN")));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  QByteArray text = source.readAll();
  const auto at = text.indexOf("\n2003 5 13 ");
  ASSERT_GE(at, 0);
  text.replace(at, 11, "\n2003 5 X13 ");  // record 70
  QTemporaryDir dir;
  QFile damaged(dir.filePath("ecad22.PRN"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write(text);
  damaged.close();
  PredictionsWindow cut(dir.path().toStdString(), Lubbock(), "Lubbock");
  cut.FromEdit()->setDate(QDate(2003, 5, 10));
  cut.DaysEdit()->setValue(10);
  cut.Compute();
  ASSERT_TRUE(cut.WaitForRun());
  EXPECT_GE(cut.Filter().rowCount(), 2);
  QStringList texts;
  for (const QLabel* label : cut.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.join("|").contains("ecad22.PRN: record 70 could not be read")) << texts.join("|").toStdString();
}

// Stars beyond the element files: found from the ephemeris off the window's
// thread, shown beside the files' rows, and each row's record comes with a
// double click (an event no file holds).
TEST_F(PredictionsWindowTest, DeeperStarsAreFoundOffTheWindowsThread) {
  if (!std::filesystem::exists(std::string(kDefaultStarDirectory) + "/stars_3_1v0_4.cat"))
    GTEST_SKIP() << "stellarium-data is not installed";
  QTemporaryDir cache;
  DeepSearchSettings settings = InstalledDeepSearchSettings();
  settings.cacheDirectory = cache.path().toStdString();
  window.SetDeepSearchSettings(settings);
  window.FromEdit()->setDate(QDate(2003, 5, 10));
  window.DaysEdit()->setValue(2);
  window.Compute();
  ASSERT_TRUE(window.WaitForRun());
  const int fileRows = window.Model().rowCount();
  ASSERT_GT(fileRows, 0);

  QSignalSpy computed(&window, &PredictionsWindow::Computed);
  window.DepthEdit()->setValue(7.5);
  window.Compute();
  EXPECT_TRUE(window.Running());  // returned at once; the rows come later
  ASSERT_TRUE(computed.wait(120000));
  EXPECT_FALSE(window.Running());
  ASSERT_GT(window.Model().rowCount(), fileRows);
  int deepRow = -1;
  for (int row = 0; row < window.Filter().rowCount() && deepRow < 0; ++row)
    if (window.Model().Contact(window.Filter().mapToSource(window.Filter().index(row, 0)).row()).recordIndex == 0)
      deepRow = row;
  ASSERT_GE(deepRow, 0);
  EXPECT_FALSE(Cell(deepRow, "star_id").isEmpty());
  // A star without a name is shown by its identifier, not a blank.
  for (int row = 0; row < window.Filter().rowCount(); ++row)
    EXPECT_FALSE(Cell(row, "body").isEmpty()) << row;

  QSignalSpy chosen(&window, &PredictionsWindow::EventChosen);
  emit window.Table()->doubleClicked(window.Filter().index(deepRow, 0));
  ASSERT_EQ(chosen.size(), 1);
  const auto contact = chosen[0][0].value<PredictedContact>();
  const auto record = chosen[0][2].value<BesselianElements>();
  EXPECT_EQ(record.xz, contact.xz);
  EXPECT_NEAR(record.jd, contact.jdUT, 0.2);
  // Loaded as the view loads it: the record itself is the current event.
  ProgramState loaded;
  loaded.SetDataDirectory(TestData("predictions"));
  LoadPredictedRecord(loaded, record, window.Site());
  EXPECT_EQ(loaded.cursor.elements.jd, record.jd);
  EXPECT_EQ(loaded.cursor.elements.xz, contact.xz);
}

// A span the search cannot hold is refused with the limit; a run can be
// cancelled, and a window closed while it runs waits for its worker.
TEST(PredictionsWindowDeep, SpanLimitCancelAndClosing) {
  if (!std::filesystem::exists(std::string(kDefaultStarDirectory) + "/stars_3_1v0_4.cat"))
    GTEST_SKIP() << "stellarium-data is not installed";
  ObserverSite tokyo;
  tokyo.longitude = 139.7447;
  tokyo.latitude = 35.6581;
  tokyo.cityIndex = kTypedSiteIndex;
  DeepSearchSettings uncached = InstalledDeepSearchSettings();
  uncached.cacheDirectory.clear();

  PredictionsWindow window(TestData("predictions"), tokyo, "Tokyo");
  window.SetDeepSearchSettings(uncached);
  window.DepthEdit()->setValue(10.5);
  window.DaysEdit()->setValue(36525);
  window.Compute();
  EXPECT_FALSE(window.Running());
  EXPECT_TRUE(window.Status()->text().contains(QString::number(DeepSpanLimitDays(10.5))))
      << window.Status()->text().toStdString();

  window.FromEdit()->setDate(QDate(2003, 1, 1));
  window.DaysEdit()->setValue(300);
  window.Compute();
  ASSERT_TRUE(window.Running());
  window.Cancel();
  ASSERT_TRUE(window.WaitForRun(60000));
  EXPECT_TRUE(window.Status()->text().contains(PredictionsWindow::tr("（中止しました）")))
      << window.Status()->text().toStdString();

  auto* closing = new PredictionsWindow(TestData("predictions"), tokyo, "Tokyo");
  closing->SetDeepSearchSettings(uncached);
  closing->DepthEdit()->setValue(10.5);
  closing->DaysEdit()->setValue(300);
  closing->Compute();
  ASSERT_TRUE(closing->Running());
  delete closing;  // cancels and waits; the worker touches nothing of it after
}

}  // namespace
}  // namespace vernier
