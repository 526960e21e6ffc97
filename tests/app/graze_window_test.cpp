// The graze window: the plan of the view's event for the site, moved for the
// height typed in, and its KML written whole.
#include "app/graze_window.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app_fixture.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

BesselianElements EtaLeo(CurrentEvent* record = nullptr) {
  ElementFile file;
  file.dataDirectory = DataDirectory{std::string(VERNIER_TEST_DATA_DIR) + "/predictions"};
  BesselianElements e;
  CurrentEvent event;
  EXPECT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2003, 5, 10), e, event));
  while (e.hip != 49583) EXPECT_EQ(ReadNextElements(file, e, 0, event), Status::Ok);
  if (record) *record = event;
  return e;
}

class GrazeWindowTest : public testing::AppTest {
 protected:
  static ObserverSite Site() {
    ObserverSite site;
    site.longitude = -90.6;
    site.latitude = 33.5;
    site.height = 1585;
    site.cityIndex = kTypedSiteIndex;
    return site;
  }
  GrazeWindowTest() : window(EtaLeo(), 64.6, Site(), "η Leo") {}
  GrazeWindow window;
};

TEST_F(GrazeWindowTest, PlansForTheHeightTypedInAndExportsKml) {
  ASSERT_TRUE(window.Compute()) << window.Status()->text().toStdString();
  QTableWidget* table = window.Table();
  ASSERT_EQ(table->rowCount(), 13);
  // The shift column: h tan z for 1585 m, nothing at sea level.
  EXPECT_GT(table->item(6, 4)->text().toDouble(), 1000);
  window.HeightEdit()->setValue(0);
  ASSERT_TRUE(window.Compute());
  EXPECT_EQ(table->item(6, 4)->text(), "0");
  EXPECT_EQ(table->item(6, 0)->text(), table->item(6, 2)->text());

  QTemporaryDir dir;
  QString problem;
  const QString path = dir.filePath("graze.kml");
  ASSERT_TRUE(window.ExportKml(path, problem)) << problem.toStdString();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString kml = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(kml.contains("<name>northern limit for 0 m</name>"));
  EXPECT_EQ(kml.count("<Placemark>"), 2 + 20);  // two limits, stations ±200 … ±2000 m
  EXPECT_FALSE(window.ExportKml(dir.filePath("missing/graze.kml"), problem));
}

// The limb profile with the stations' tracks: nothing until the window knows
// where the grids are; then the grid's missing message, or the profile with
// the tracks in yellow (seen) and red (hidden) once the grid is there.
TEST_F(GrazeWindowTest, LimbPictureWithTheStationsTracks) {
  ASSERT_TRUE(window.Compute());
  EXPECT_FALSE(window.LimbButton()->isEnabled());
  EXPECT_TRUE(window.LimbPicture().isNull());

  const auto count = [](const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
  };
  const QRgb yellow = qRgb(255, 255, 0), red = qRgb(255, 0, 0), black = qRgb(0, 0, 0);
  CurrentEvent record;
  EtaLeo(&record);
  testing::TempDataDir dir;
  window.SetLimbSource(DataDirectory{dir.path()}, record);
  EXPECT_TRUE(window.LimbButton()->isEnabled());
  const QImage message = window.LimbPicture();
  ASSERT_EQ(message.size(), QSize(684, 520));
  // Only the lines saying the grid is missing.
  EXPECT_GT(message.width() * message.height() - count(message, black), 300);
  EXPECT_EQ(count(message, yellow), 0);

  LimbHeightGrid grid;
  testing::FillLimbGrid(grid, [](double, double) { return 691.0; });
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("LRO.dat"), grid));
  const QImage tracks = window.LimbPicture();
  ASSERT_EQ(tracks.size(), QSize(684, 520));
  EXPECT_GT(count(tracks, yellow), 500);
  EXPECT_GT(count(tracks, red), 500);
}

}  // namespace
}  // namespace vernier
