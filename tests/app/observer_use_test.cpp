// The desktop program as an observer uses it from day to day: keys, commands
// that say why they do nothing, the scrolling view, printing on paper, the
// observer's mark on the map and the limb view's missing-file message.
#include <QHelpEvent>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolTip>

#include "app/display_mode_dialog.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "app/occultation_view.h"
#include "app/paper_colours.h"
#include "app_fixture.h"

namespace vernier {
namespace {

using testing::AppTest;
using testing::WhenModalOpens;

class ObserverUseTest : public AppTest {
 protected:
  ObserverUseTest() : mainWindow(state) {
    mainWindow.NewDocument();
    mainWindow.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    EXPECT_TRUE(QTest::qWaitFor([this] { return View()->PaintCount() > 0; }));
  }
  OccultationView* View() const { return mainWindow.ActiveView(); }
  // Asks for a fresh paint and waits for it.
  void Redraw() {
    EXPECT_TRUE(PaintsAfter([this] { View()->OnRedraw(); }));
  }
  template <typename Act>
  bool PaintsAfter(Act act) {
    return testing::PaintsAfter(View(), act);
  }
  MainWindow mainWindow;
};

TEST_F(ObserverUseTest, KeysStepZoomGoBackToTodayAndRedraw) {
  ASSERT_EQ(state.cursor.elements.xz, 200);
  const struct {
    Qt::Key key;
    double xz;
  } steps[] = {{Qt::Key_Right, 300},  {Qt::Key_Left, 200},     {Qt::Key_PageDown, 300},
               {Qt::Key_PageUp, 200}, {Qt::Key_PageDown, 300}, {Qt::Key_Right, 145},
               {Qt::Key_Home, 200}};
  for (const auto& step : steps) {
    EXPECT_TRUE(PaintsAfter([&] { QTest::keyClick(View(), step.key); }));
    EXPECT_EQ(state.cursor.elements.xz, step.xz) << QKeySequence(step.key).toString().toStdString();
  }
  EXPECT_TRUE(PaintsAfter([this] { QTest::keyClick(View(), Qt::Key_F5); }));

  // + and - zoom the map once its centre is chosen.
  state.map.preset = WindowPreset::TypedCentre;
  Redraw();
  const double radius = state.map.radius;
  EXPECT_TRUE(PaintsAfter([this] { QTest::keyClick(View(), Qt::Key_Plus); }));
  EXPECT_DOUBLE_EQ(state.map.radius, 2 * radius);
  EXPECT_TRUE(PaintsAfter([this] { QTest::keyClick(View(), Qt::Key_Minus); }));
  EXPECT_DOUBLE_EQ(state.map.radius, radius);
}

TEST_F(ObserverUseTest, CommandsThatWouldDoNothingAreGreyedAndSayWhy) {
  const AppActions& a = mainWindow.Actions();
  const struct {
    const char* what;
    std::function<void()> set;
    bool zoomActs, previousActs;
    const char* zoomWhy;
  } cases[] = {
      {"whole globe", [&] { state.map.preset = WindowPreset::WholeGlobe; }, false, true,
       "中心を選んで"},
      {"Asia window", [&] { state.map.preset = WindowPreset::Asia; }, false, true, "中心を選んで"},
      {"typed centre", [&] { state.map.preset = WindowPreset::TypedCentre; }, true, true, ""},
      {"chart",
       [&] {
         state.map.preset = WindowPreset::TypedCentre;
         state.map.projection = Projection::Mercator;
       },
       false, true, "メルカトル"},
      {"local display",
       [&] {
         state.map.projection = Projection::Globe;
         state.display.displayMode = DisplayMode::LocalCircumstances;
       },
       false, true, "地図でだけ"},
      {"search by star",
       [&] {
         state.display.displayMode = DisplayMode::PathMap;
         state.search.searchMode = SearchMode::OneStar;
         state.search.xzTarget = 200;
       },
       true, false, ""},
  };
  for (const auto& c : cases) {
    c.set();
    Redraw();
    EXPECT_EQ(a.zoomIn->isEnabled(), c.zoomActs) << c.what;
    EXPECT_EQ(a.zoomOut->isEnabled(), c.zoomActs) << c.what;
    EXPECT_EQ(a.previous->isEnabled(), c.previousActs) << c.what;
    if (!c.zoomActs) {
      EXPECT_TRUE(a.zoomIn->toolTip().contains(QString::fromUtf8(c.zoomWhy))) << c.what;
      EXPECT_EQ(a.zoomIn->statusTip(), a.zoomIn->toolTip()) << c.what;
    } else {
      EXPECT_EQ(a.zoomIn->toolTip(), "拡大") << c.what;
    }
  }
  EXPECT_TRUE(a.previous->toolTip().contains("検索モード"));

  // The greyed button shows the reason when the pointer rests on it.
  QWidget* button = mainWindow.ToolBar()->widgetForAction(a.previous);
  EXPECT_FALSE(button->isEnabled());
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(button, &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), a.previous->toolTip());
  QToolTip::hideText();

  // Given anyway (as a key the window does not own would), the status bar says why.
  View()->OnPrevious();
  EXPECT_EQ(mainWindow.statusBar()->currentMessage(), a.previous->toolTip());
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
}

TEST_F(ObserverUseTest, PrintAndPreviewAreInTheFileMenu) {
  QMenu* file = nullptr;
  for (QAction* top : mainWindow.menuBar()->actions())
    if (top->text() == "ﾌｧｲﾙ(&F)") file = top->menu();
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->actions().contains(testing::Command(mainWindow, "actionPrint")));
  EXPECT_TRUE(file->actions().contains(testing::Command(mainWindow, "actionExit")));
  bool previewed = false;
  WhenModalOpens<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
    previewed = true;
    preview->reject();
  });
  testing::Command(mainWindow, "actionPrintPreview")->trigger();
  EXPECT_TRUE(previewed);
}

TEST(PaperColours, GreysTurnOverAndPaleColoursDarken) {
  const struct {
    QRgb screen, paper;
  } cases[] = {
      {qRgb(0, 0, 0), qRgb(255, 255, 255)},        // the background
      {qRgb(255, 255, 255), qRgb(0, 0, 0)},        // strokes and texts
      {qRgb(192, 192, 192), qRgb(63, 63, 63)},     // light grey
      {qRgb(255, 0, 0), qRgb(255, 0, 0)},          // red reads as it is
      {qRgb(0, 0, 255), qRgb(0, 0, 255)},          // so does blue
      {qRgb(255, 255, 0), qRgb(170, 170, 0)},      // yellow darkens, keeping its hue
      {qRgb(255, 255, 191), qRgb(8, 8, 8)},        // the whitish labels
      {qRgb(204, 255, 255), qRgb(16, 16, 16)},     // pale cyan
      {qRgb(255, 153, 204), qRgb(202, 121, 161)},  // pink darkens
  };
  for (const auto& c : cases) EXPECT_EQ(PaperColour(c.screen), c.paper) << std::hex << c.screen;
}

TEST_F(ObserverUseTest, PagesPrintBlackOnWhiteUnlessTheScreenColoursAreKept) {
  Redraw();
  const QImage screen = View()->Picture();
  const QImage page = View()->PagePicture();
  ASSERT_EQ(page.size(), screen.size());
  int white = 0, black = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QRgb s = screen.pixel(x, y);
      ASSERT_EQ(page.pixel(x, y), PaperColour(s)) << x << "," << y;
      white += s == qRgb(0, 0, 0);
      const QRgb p = page.pixel(x, y);
      black += qMin(qMin(qRed(s), qGreen(s)), qBlue(s)) >= 180 &&
               qMax(qMax(qRed(p), qGreen(p)), qBlue(p)) < 64;
    }
  EXPECT_GT(white, page.width() * page.height() / 2);  // the background went white
  EXPECT_GT(black, 200);                               // the texts went black

  // The display dialog's option keeps the screen's colours.
  WhenModalOpens<DisplayModeDialog>([](DisplayModeDialog* dialog) {
    dialog->screenColoursCheck->setChecked(true);
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
  });
  EXPECT_TRUE(PaintsAfter([this] { View()->OnDisplayMode(); }));
  EXPECT_TRUE(state.display.printScreenColours);
  EXPECT_EQ(View()->PagePicture(), View()->Picture());
}

TEST_F(ObserverUseTest, AWindowSmallerThanTheDrawingScrollsIt) {
  auto* child = static_cast<DocumentWindow*>(mainWindow.MdiArea()->currentSubWindow());
  QScrollArea* area = child->ScrollArea();
  mainWindow.resize(420, 320);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return area->horizontalScrollBar()->isVisible() && View()->Picture().size() == kSmallestDrawing;
  }));
  EXPECT_EQ(View()->size(), kSmallestDrawing);
  EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(area->verticalScrollBar()->isVisible());
  EXPECT_EQ(View()->Picture().size(), kSmallestDrawing);

  mainWindow.resize(1000, 800);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return !area->horizontalScrollBar()->isVisible() && View()->size() == area->viewport()->size();
  }));
  EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(area->verticalScrollBar()->isVisible());
  EXPECT_EQ(View()->size(), area->viewport()->size());
  EXPECT_GT(View()->width(), kSmallestDrawing.width());
}

TEST_F(ObserverUseTest, TheObserverIsMarkedOnTheMapByDefaultAndCanBeLeftOff) {
  EXPECT_TRUE(state.display.markObserver);
  // The observer where the globe's centre shows.
  const ScreenGeo centre = ScreenToGeo(state.map, state.map.centreX, state.map.centreY);
  ASSERT_TRUE(centre.found);
  state.site.longitude = NormaliseClickLongitude(centre.lon);
  state.site.latitude = centre.lat;
  Redraw();
  const QRect around(state.map.centreX - 9, state.map.centreY - 9, 19, 19);
  const QImage marked = View()->Picture().copy(around);
  auto cyan = [](const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == qRgb(0, 255, 255);
    return count;
  };
  EXPECT_GT(cyan(marked), 20);

  WhenModalOpens<DisplayModeDialog>([](DisplayModeDialog* dialog) {
    EXPECT_TRUE(dialog->markObserverCheck->isChecked());
    dialog->markObserverCheck->setChecked(false);
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
  });
  EXPECT_TRUE(PaintsAfter([this] { View()->OnDisplayMode(); }));
  EXPECT_FALSE(state.display.markObserver);
  EXPECT_EQ(cyan(View()->Picture().copy(around)), 0);
}

TEST_F(ObserverUseTest, TheLimbViewWithoutItsGridNamesTheConverter) {
  // The view shows the three message lines: what is missing, where the model
  // is published, and the converter that makes the file.
  View()->OnLimb();
  QCoreApplication::processEvents();
  const QImage picture = View()->Picture();
  for (int top : {40, 60, 80}) {
    int lit = 0;
    for (int y = top; y < top + 16; ++y)
      for (int x = 50; x < 400; ++x) lit += picture.pixel(x, y) != qRgb(0, 0, 0);
    EXPECT_GT(lit, 50) << "line at " << top;
  }
}

}  // namespace
}  // namespace vernier
