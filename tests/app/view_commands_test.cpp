// The view's commands change the program state as the program's commands do,
// and every paint is drawn from that state.
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "app/date_dialog.h"
#include "app/occultation_view.h"
#include "app_fixture.h"
#include "gdi/recording_device_context.h"
#include "map/map_window.h"

namespace vernier {
namespace {

using testing::AppTest;
using testing::WhenModalOpens;

class ViewTest : public AppTest {
 protected:
  ViewTest() : view(state) {
    view.resize(684, 480);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    Paint();
  }
  // What the window system does after an invalidation: one paint now.
  void Paint() {
    view.repaint();
    QCoreApplication::processEvents();
  }
  double Xz() const { return state.cursor.elements.xz; }

  OccultationView view;
};

TEST_F(ViewTest, NextAndPreviousStepThroughTheEventsAndRepaintsKeepTheEvent) {
  // The start shows the first event on or after today (7 December 2026).
  EXPECT_EQ(Xz(), 200);
  EXPECT_EQ(view.LastOutcome(), PaintOutcome::Drawn);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);

  // The command steps; the paint only shows where it went.
  view.OnNext();
  EXPECT_EQ(Xz(), 300);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  Paint();
  EXPECT_EQ(Xz(), 300);

  // Covering and uncovering paints the same event again, and so does a
  // paint that comes while the state asks for another step: only a command
  // carries it out.
  const QImage before = view.Picture();
  Paint();
  state.navigation.paintRequest = PaintRequest::StepForward;
  Paint();
  EXPECT_EQ(Xz(), 300);
  EXPECT_EQ(view.Picture(), before);
  state.navigation.paintRequest = PaintRequest::Redraw;

  view.OnPrevious();
  Paint();
  EXPECT_EQ(Xz(), 200);

  // On across the end of ecad22.PRN into ecad24.PRN.
  view.OnNext();
  Paint();
  view.OnNext();
  Paint();
  EXPECT_EQ(Xz(), 145);
  view.OnNext();
  Paint();
  EXPECT_EQ(Xz(), 400);
  EXPECT_EQ(state.cursor.elements.year, 2201);

  // With a search condition the previous command keeps the event.
  state.search.searchMode = SearchMode::OneStar;
  state.search.xzTarget = 400;
  view.OnPrevious();
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  Paint();
  EXPECT_EQ(Xz(), 400);
}

TEST_F(ViewTest, TheStatusBarSaysWhereTheKmlFileWent) {
  QSignalSpy notes(&view, &OccultationView::StatusNote);
  Paint();
  EXPECT_EQ(notes.count(), 0);  // no export asked for

  state.display.kmlOutput = true;
  dir.Write("echead.prn", "<?xml version=\"1.0\"?>\n<kml><Document>\n");
  Paint();
  EXPECT_EQ(notes.count(), 0);  // a paint exports nothing: the export is the command's
  view.OnRedraw();
  Paint();
  const QString file = QString::fromStdString(dir.File("2026121000.kml"));
  ASSERT_TRUE(std::filesystem::exists(file.toStdString()));
  ASSERT_EQ(notes.count(), 1);
  EXPECT_EQ(notes.takeFirst().at(0).toString(), "KMLファイルを書き出しました: " + file);

  // A directory that cannot be written: said too.
  state.outputDirectory = dir.path() + "/no/such/folder";
  view.OnRedraw();
  ASSERT_EQ(notes.count(), 1);
  EXPECT_EQ(notes.takeFirst().at(0).toString(), "KMLファイルは書き出されませんでした。");
}

TEST_F(ViewTest, ZoomActsOnlyOnTheMapAndResetAndBackToMapChooseTheMap) {
  const double radius = view.Window().radius;
  ASSERT_GT(radius, 0);
  // The zoom acts on a window with a chosen centre.
  state.map.preset = WindowPreset::TypedCentre;
  view.OnZoomIn();
  EXPECT_DOUBLE_EQ(state.map.targetRadius, 2 * radius);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  view.OnZoomOut();
  EXPECT_DOUBLE_EQ(state.map.targetRadius, radius / 2);

  // In the limit-line table and the local display the zoom does nothing.
  for (DisplayMode mode : {DisplayMode::LimitLineTable, DisplayMode::LocalCircumstances}) {
    state.display.displayMode = mode;
    state.map.targetRadius = 123;
    state.navigation.paintRequest = PaintRequest::ReadAtDate;
    view.OnZoomIn();
    view.OnZoomOut();
    EXPECT_EQ(state.map.targetRadius, 123) << "mode " << static_cast<int>(mode);
    EXPECT_EQ(state.navigation.paintRequest, PaintRequest::ReadAtDate)
        << "mode " << static_cast<int>(mode);
  }
  state.navigation.paintRequest = PaintRequest::Redraw;

  // Back to the map keeps the window; the zoom reset returns to the globe.
  state.display.displayMode = DisplayMode::LocalCircumstances;
  state.map.preset = WindowPreset::TypedCentre;
  view.OnBackToMap();
  EXPECT_EQ(state.display.displayMode, DisplayMode::PathMap);
  EXPECT_EQ(state.map.preset, WindowPreset::TypedCentre);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  state.display.displayMode = DisplayMode::LimitLineTable;
  view.OnZoomReset();
  EXPECT_EQ(state.display.displayMode, DisplayMode::PathMap);
  EXPECT_EQ(state.map.preset, WindowPreset::WholeGlobe);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
}

TEST_F(ViewTest, LocalSkyAndLimbCommands) {
  view.OnLocal();
  EXPECT_EQ(state.display.displayMode, DisplayMode::LocalCircumstances);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  Paint();
  EXPECT_EQ(Xz(), 200);

  // Sky and limb draw once over the window and leave the display mode alone.
  const QImage report = view.Picture();
  view.OnSky();
  QCoreApplication::processEvents();
  EXPECT_NE(view.Picture(), report);
  // Without the lunar elevation grid the limb command shows its message.
  view.OnLimb();
  QCoreApplication::processEvents();
  EXPECT_NE(view.Picture(), report);
  EXPECT_EQ(state.display.displayMode, DisplayMode::LocalCircumstances);
}

TEST_F(ViewTest, LeftClickShowsTheCoordinatesUntilTheNextRepaint) {
  const MapWindow map = view.Window();
  const QImage map0 = view.Picture();
  const int paints = view.PaintCount();
  const QRect readout(map.frameRight - 85, 2, 80, 30);

  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(map.centreX, map.centreY));
  QCoreApplication::processEvents();
  EXPECT_EQ(view.PaintCount(), paints);  // drawn over the picture, no new paint
  EXPECT_NE(view.Picture().copy(readout), map0.copy(readout));

  view.Repaint();
  Paint();
  EXPECT_EQ(view.Picture().copy(readout), map0.copy(readout));

  // Outside the globe's disc: nothing.
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(2, map.frameBottom - 2));
  QCoreApplication::processEvents();
  EXPECT_EQ(view.Picture().copy(readout), map0.copy(readout));
}

TEST_F(ViewTest, ClickedPointFollowsTheIgnoreRules) {
  MapWindow map = view.Window();
  const DisplayMode mode = DisplayMode::PathMap;
  auto centre = ClickedGlobePoint(map, mode, map.centreX, map.centreY);
  ASSERT_TRUE(centre.has_value());
  const ScreenGeo expected = ScreenToGeo(map, map.centreX, map.centreY);
  EXPECT_DOUBLE_EQ(centre->lat, expected.lat);
  EXPECT_DOUBLE_EQ(centre->lon, NormaliseClickLongitude(expected.lon));
  EXPECT_GE(centre->lon, -180);
  EXPECT_LE(centre->lon, 180);

  const int outside = map.centreX + static_cast<int>(map.radius) + 3;
  EXPECT_FALSE(ClickedGlobePoint(map, mode, outside, map.centreY).has_value());
  EXPECT_FALSE(
      ClickedGlobePoint(map, DisplayMode::LimitLineTable, map.centreX, map.centreY).has_value());
  map.projection = Projection::Mercator;
  EXPECT_FALSE(ClickedGlobePoint(map, mode, map.centreX, map.centreY).has_value());
}

TEST(CoordinateReadout, DrawsLongitudeAndLatitudeWhiteOnBlackAtTheFrameCorner) {
  MapWindow map;
  map.frameRight = 600;
  RecordingDeviceContext dc;
  DrawCoordinateReadout(dc, map, NormaliseClickLongitude(200), 35.25);
  const auto texts = dc.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "Lon:-160.00");
  EXPECT_EQ(texts[0].x, 515);
  EXPECT_EQ(texts[0].y, 15);
  EXPECT_EQ(texts[1].text, "Lat:  35.25");
  EXPECT_EQ(texts[1].x, 515);
  EXPECT_EQ(texts[1].y, 30);
  for (const auto& t : texts) {
    EXPECT_EQ(t.colour, (Rgb{255, 255, 255}));
    EXPECT_EQ(t.mode, BackgroundMode::Opaque);
  }
  EXPECT_EQ(dc.BackgroundColour(), (Rgb{0, 0, 0}));
}

TEST_F(ViewTest, DoubleClickRecentresTheGlobeButNotTheMercatorChart) {
  const MapWindow map = view.Window();
  const QPoint at(map.centreX + 40, map.centreY - 30);
  const ScreenGeo expected = ScreenToGeo(map, at.x(), at.y());
  ASSERT_TRUE(expected.found);
  QTest::mouseDClick(&view, Qt::LeftButton, {}, at);
  EXPECT_EQ(state.map.preset, WindowPreset::TypedCentre);
  EXPECT_DOUBLE_EQ(state.map.typedLon, NormaliseClickLongitude(expected.lon));
  EXPECT_DOUBLE_EQ(state.map.typedLat, expected.lat);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
  Paint();

  state.map.preset = WindowPreset::WholeGlobe;
  state.map.projection = Projection::Mercator;
  view.Repaint();
  Paint();
  QTest::mouseDClick(&view, Qt::LeftButton, {},
                     QPoint(view.Window().centreX, view.Window().centreY));
  EXPECT_EQ(state.map.preset, WindowPreset::WholeGlobe);
}

TEST_F(AppTest, MissingElementFilesShowTheMessageThenAskForADateFilledWithToday) {
  testing::TempDataDir empty;
  empty.Write("location.new", testing::kSiteList);
  state.SetDataDirectory(empty.path());
  OccultationView view(state);
  view.resize(400, 300);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));  // the first paint
  EXPECT_EQ(view.LastOutcome(), PaintOutcome::Stopped);
  EXPECT_TRUE(state.navigation.loadFailed);

  // The next paint asks for a date: the dialog opens after it, with today.
  QString shown[3];
  bool answered = false;
  WhenModalOpens<DateDialog>([&](DateDialog* dialog) {
    shown[0] = dialog->yearEdit->text();
    shown[1] = dialog->monthEdit->text();
    shown[2] = dialog->dayEdit->text();
    dialog->yearEdit->setText("2026");
    dialog->monthEdit->setText("11");
    dialog->dayEdit->setText("1");
    state.SetDataDirectory(dir.path());  // the user moved the files in meanwhile
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    answered = true;
  });
  view.Repaint();
  view.repaint();
  EXPECT_EQ(view.LastOutcome(), PaintOutcome::NeedsDate);
  EXPECT_FALSE(state.navigation.loadFailed);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 3000));
  EXPECT_EQ(shown[0], "2026");
  EXPECT_EQ(shown[1], "12");
  EXPECT_EQ(shown[2], "7");
  EXPECT_EQ(state.cursor.event.month, 11);
  // OK asked for a load at the date and a repaint.
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.LastOutcome() == PaintOutcome::Drawn; }, 3000));
  EXPECT_EQ(state.cursor.elements.xz, 100);  // the event of 1 November
}

TEST_F(ViewTest, PrintingPaintsTheSameEventOntoThePage) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.File("page.pdf")));
  const int paints = view.PaintCount();
  view.PrintPage(printer);
  EXPECT_EQ(view.PaintCount(), paints + 1);
  EXPECT_EQ(view.LastOutcome(), PaintOutcome::Drawn);
  EXPECT_EQ(Xz(), 200);
  EXPECT_GT(std::filesystem::file_size(dir.File("page.pdf")), 1000u);
}

TEST(PrintPicture, HundredViewPixelsMakeOneInch) {
  QImage picture(10, 10, QImage::Format_RGB32);
  picture.fill(Qt::black);
  picture.setPixel(4, 7, qRgb(255, 0, 0));
  QImage page(30, 30, QImage::Format_RGB32);  // a 300 dpi device
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    PrintPicture(painter, picture, 300);
  }
  for (int y = 21; y < 24; ++y)
    for (int x = 12; x < 15; ++x) EXPECT_EQ(page.pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
  EXPECT_EQ(page.pixel(11, 21), qRgb(0, 0, 0));
  EXPECT_EQ(page.pixel(15, 24), qRgb(0, 0, 0));
}

TEST(PrintPicture, APictureLargerThanThePrintableAreaIsMadeSmallerToFitWhole) {
  // 1000 x 500 view pixels are 10 x 5 inches; the page's printable area at
  // 100 dpi is 300 x 600 (portrait) or 600 x 300 (landscape).
  QImage picture(1000, 500, QImage::Format_RGB32);
  picture.fill(Qt::black);
  for (int y = 0; y < 500; ++y)
    for (int x = 0; x < 5; ++x) {
      picture.setPixel(999 - x, y, qRgb(255, 0, 0));  // the right edge
      picture.setPixel(x, y, qRgb(0, 0, 255));        // the left edge
    }
  for (const QSize printable : {QSize(300, 600), QSize(600, 300)}) {
    QImage page(printable.width() + 50, printable.height() + 50, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter painter(&page);
      PrintPicture(painter, picture, 100, printable);
    }
    // Nothing falls outside the printable area, and both edges are on it.
    for (int y = 0; y < page.height(); ++y)
      for (int x = printable.width(); x < page.width(); ++x)
        ASSERT_EQ(page.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    bool right = false, left = false;
    for (int y = 0; y < printable.height(); ++y)
      for (int x = 0; x < printable.width(); ++x) {
        right |= qRed(page.pixel(x, y)) > 128 && qBlue(page.pixel(x, y)) < 128;
        left |= qBlue(page.pixel(x, y)) > 128 && qRed(page.pixel(x, y)) < 128;
      }
    EXPECT_TRUE(right) << printable.width();
    EXPECT_TRUE(left) << printable.width();
  }
  // A picture that fits keeps 100 view pixels to the inch.
  QImage small(10, 10, QImage::Format_RGB32);
  small.fill(Qt::red);
  QImage page(60, 60, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    PrintPicture(painter, small, 300, QSize(60, 60));
  }
  EXPECT_EQ(page.pixel(29, 29), qRgb(255, 0, 0));
  EXPECT_EQ(page.pixel(31, 31), qRgb(255, 255, 255));
}

TEST_F(ViewTest, RightDoubleClickPicksTheObserverAndShowsItsCircumstances) {
  // The globe's centre pixel is the greatest point of the event (0° 0°).
  const int x = view.Window().centreX, y = view.Window().centreY;
  view.PickObserver(x, y);
  EXPECT_EQ(state.site.cityIndex, 99);
  EXPECT_NEAR(state.site.longitude, 0, 1);
  EXPECT_NEAR(state.site.latitude, 0, 1);
  EXPECT_EQ(state.site.height, 0);
  EXPECT_EQ(state.display.displayMode, DisplayMode::LocalCircumstances);
  Paint();
  EXPECT_EQ(view.LastOutcome(), PaintOutcome::Drawn);
  // The observer on the path sees the star hidden: its animation runs.
  EXPECT_TRUE(view.AnimationRunning());
  // A command stops it.
  view.OnBackToMap();
  EXPECT_FALSE(view.AnimationRunning());
  Paint();

  // A click off the globe changes nothing.
  state.site.cityIndex = 1;
  view.PickObserver(1, 1);
  EXPECT_EQ(state.site.cityIndex, 1);
  EXPECT_EQ(state.display.displayMode, DisplayMode::PathMap);
}

TEST_F(ViewTest, TheSkyIsDrawnOnceAndTheNextRepaintShowsTheMapAgain) {
  const QImage map = view.Picture();
  view.OnSky();
  QCoreApplication::processEvents();
  EXPECT_NE(view.Picture(), map);
  view.Repaint();
  Paint();
  EXPECT_EQ(view.Picture(), map);
  EXPECT_EQ(state.display.displayMode, DisplayMode::PathMap);
}

}  // namespace
}  // namespace vernier
