// The main window as the user meets it: where it opens, its one maximised
// child window, the menus with and without a view, the toolbar, and the
// status bar's prompts.
#include "app/main_window.h"

#include <QDateEdit>
#include <QHelpEvent>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <fstream>
#include <iterator>

#include "app/document.h"
#include "app/document_window.h"
#include "app/icons.h"
#include "app/occultation_view.h"
#include "app/predictions_window.h"
#include "app/search_list_dialog.h"
#include "app_fixture.h"
#include "menu_texts.h"

namespace vernier {
namespace {

using testing::AppTest;

using testing::MenuBarTexts;
using testing::MenuTexts;

class MainWindowTest : public AppTest {
 protected:
  MainWindowTest() : mainWindow(state) {
    mainWindow.NewDocument();
    mainWindow.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
  }
  MainWindow mainWindow;
};

TEST_F(MainWindowTest, OpensCentredOnMostOfTheScreenWithOneMaximisedView) {
  // Four fifths of the screen's width and height, in its middle.
  const QRect screen = mainWindow.screen()->availableGeometry();
  EXPECT_NEAR(mainWindow.width(), screen.width() * 0.8, 1);
  EXPECT_NEAR(mainWindow.height(), screen.height() * 0.8, 1);
  EXPECT_NEAR(mainWindow.geometry().center().x(), screen.center().x(), 4);
  EXPECT_NEAR(mainWindow.geometry().center().y(), screen.center().y(), 4);
  const auto children = mainWindow.MdiArea()->subWindowList();
  ASSERT_EQ(children.size(), 1);
  EXPECT_TRUE(children[0]->isMaximized());
  auto* view = static_cast<DocumentWindow*>(children[0])->View();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(mainWindow.ActiveView(), view);
  EXPECT_EQ(children[0]->windowTitle(), "Vernier1");
  EXPECT_EQ(mainWindow.windowTitle(), "Vernier - [Vernier1]");
  // The view fills the child window and was painted with the first event.
  QTest::qWait(20);
  EXPECT_GT(view->PaintCount(), 0);
  EXPECT_EQ(view->LastOutcome(), PaintOutcome::Drawn);
  EXPECT_EQ(view->Picture().size(), view->size());
  EXPECT_EQ(state.cursor.elements.xz, 200);
}

TEST_F(MainWindowTest, MenusOfTheViewAndOfNoView) {
  EXPECT_TRUE(mainWindow.ShowsViewMenus());
  EXPECT_EQ(MenuBarTexts(mainWindow), (QStringList{"ﾌｧｲﾙ(&F)", "年月設定(&N)", "表示モード(&D)",
                                                   "検索モード(&M)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
  // The file menu of a view: documents, printing, recent files, exit.
  EXPECT_EQ(MenuTexts(mainWindow, "ﾌｧｲﾙ(&F)"),
            (QStringList{"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "上書き保存(&S)", "-",
                         "印刷(&P)...", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "ﾌﾟﾘﾝﾀの設定(&R)...", "-",
                         "最近使ったﾌｧｲﾙ", "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
  // The view menu: the keyed commands with their keys.
  EXPECT_EQ(MenuTexts(mainWindow, "表示(&V)"),
            (QStringList{"次の星蝕\tRight, PgDown", "前の星蝕\tLeft, PgUp", "今日の星蝕\tHome", "-",
                         "拡大\t+", "縮小\t-", "再描画\tF5", "-", "ﾂｰﾙ ﾊﾞｰ(&T)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)",
                         "-", "観測地の星蝕予報", "接食計画"}));
  EXPECT_EQ(MenuTexts(mainWindow, "ﾍﾙﾌﾟ(&H)"),
            (QStringList{"使い方(&G)...", "Vernier のﾊﾞｰｼﾞｮﾝ情報(&A)..."}));

  // Closing the view leaves the main window with the menus of no view.
  mainWindow.MdiArea()->closeAllSubWindows();
  QTest::qWait(20);
  EXPECT_FALSE(mainWindow.ShowsViewMenus());
  EXPECT_EQ(MenuBarTexts(mainWindow), (QStringList{"ﾌｧｲﾙ(&F)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
  EXPECT_EQ(MenuTexts(mainWindow, "ﾌｧｲﾙ(&F)"),
            (QStringList{"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "-", "ﾌﾟﾘﾝﾀの設定(&R)...",
                         "-", "最近使ったﾌｧｲﾙ", "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
  EXPECT_EQ(MenuTexts(mainWindow, "ﾍﾙﾌﾟ(&H)"),
            (QStringList{"使い方(&G)...", "Vernier のﾊﾞｰｼﾞｮﾝ情報(&A)..."}));
  EXPECT_FALSE(mainWindow.Actions().next->isEnabled());
  EXPECT_FALSE(mainWindow.Actions().list->isEnabled());
  EXPECT_TRUE(mainWindow.Actions().about->isEnabled());

  // New (Ctrl+N) opens another view, and the view's menus return.
  QTest::keyClick(&mainWindow, Qt::Key_N, Qt::ControlModifier);
  QTest::qWait(20);
  ASSERT_EQ(mainWindow.MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(mainWindow.MdiArea()->subWindowList()[0]->windowTitle(), "Vernier2");
  EXPECT_TRUE(mainWindow.ShowsViewMenus());
  EXPECT_TRUE(mainWindow.Actions().next->isEnabled());
}

TEST_F(MainWindowTest, ToolbarHasTwelveButtonsInThreeGroupsWithTheirTooltips) {
  // A typed centre, so that the zoom buttons act and show their own tooltips.
  state.map.preset = WindowPreset::TypedCentre;
  mainWindow.ActiveView()->OnRedraw();
  QTest::qWait(50);
  const struct {
    int id;
    const char* tip;
  } expected[] = {{kCmdPrevious, "前の星蝕"},
                  {kCmdNext, "次の星蝕"},
                  {kCmdList, "星蝕リスト"},
                  {kCmdPredictions, "観測地の星蝕予報"},
                  {0, nullptr},
                  {kCmdZoomIn, "拡大"},
                  {kCmdZoomOut, "縮小"},
                  {kCmdZoomReset, "地図拡大解除"},
                  {0, nullptr},
                  {kCmdLocal, "局地情報表示"},
                  {kCmdBackToMap, "地図表示へ戻る"},
                  {kCmdSky, ""},
                  {kCmdLimb, ""},
                  {kCmdAbout, "ﾊﾞｰｼﾞｮﾝ情報"}};
  const QList<QAction*> actions = mainWindow.ToolBar()->actions();
  ASSERT_EQ(actions.size(), 14);
  QList<QImage> icons;
  for (int i = 0; i < 14; ++i) {
    if (!expected[i].tip) {
      EXPECT_TRUE(actions[i]->isSeparator()) << i;
      continue;
    }
    EXPECT_EQ(AppActions::Id(actions[i]), expected[i].id) << i;
    // What the pointer resting on the button shows (nothing for a prompt
    // without a second line).
    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    QWidget* button = mainWindow.ToolBar()->widgetForAction(actions[i]);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &help);
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(),
              QString::fromUtf8(expected[i].tip))
        << i;
    const QImage icon = actions[i]->icon().pixmap(kToolbarIconSize).toImage();
    EXPECT_EQ(icon.size(), QSize(kToolbarIconSize, kToolbarIconSize)) << i;
    for (const QImage& other : icons) EXPECT_NE(icon, other) << "icon " << i << " repeats";
    icons << icon;
  }
  EXPECT_EQ(mainWindow.ToolBar()->iconSize(), QSize(18, 18));
  EXPECT_EQ(mainWindow.ToolBar()->objectName(), "mainToolBar");
  EXPECT_EQ(mainWindow.statusBar()->objectName(), "statusBar");

  // Of the toolbar's commands only those with keys are in the menus too.
  mainWindow.Actions().toolBar->trigger();
  EXPECT_FALSE(mainWindow.ToolBar()->isVisible());
  for (QAction* top : mainWindow.menuBar()->actions()) {
    if (!top->menu()) continue;
    for (QAction* item : top->menu()->actions())
      if (AppActions::Id(item) >= kCmdNext && AppActions::Id(item) <= kCmdLimb) {
        EXPECT_FALSE(item->shortcuts().isEmpty()) << item->text().toStdString();
      }
    // (The predictions window, 32790, is on both, without a key.)
  }
  mainWindow.Actions().toolBar->trigger();
  EXPECT_TRUE(mainWindow.ToolBar()->isVisible());
}

TEST_F(MainWindowTest, StatusBarShowsReadyAndThePromptOfTheItemUnderThePointer) {
  state.map.preset = WindowPreset::TypedCentre;  // the zoom acts: its own prompt
  mainWindow.ActiveView()->OnRedraw();
  QTest::qWait(50);
  QStatusBar* bar = mainWindow.statusBar();
  EXPECT_EQ(mainWindow.ReadyPane()->text(), "ﾚﾃﾞｨ");
  EXPECT_TRUE(mainWindow.ReadyPane()->isVisible());
  EXPECT_TRUE(bar->currentMessage().isEmpty());

  // Pointing at the "next" button shows the first line of its prompt.
  QWidget* next = mainWindow.ToolBar()->widgetForAction(mainWindow.Actions().next);
  QTest::mouseMove(next);
  QTest::qWait(20);
  EXPECT_EQ(bar->currentMessage(), "次の星蝕を表示");
  EXPECT_FALSE(mainWindow.ReadyPane()->isVisible());
  QWidget* zoom = mainWindow.ToolBar()->widgetForAction(mainWindow.Actions().zoomIn);
  QTest::mouseMove(zoom);
  QTest::qWait(20);
  EXPECT_EQ(bar->currentMessage(), "地図拡大モード時拡大（拡大モードへは左ダブルクリックで）");

  // Away from the bar the pane says ready again.
  QTest::mouseMove(mainWindow.ActiveView());
  QTest::qWait(20);
  EXPECT_TRUE(bar->currentMessage().isEmpty());
  EXPECT_TRUE(mainWindow.ReadyPane()->isVisible());
}

TEST_F(MainWindowTest, ToolbarCommandsReachTheView) {
  QTest::qWait(20);
  ASSERT_EQ(state.cursor.elements.xz, 200);
  QTest::mouseClick(mainWindow.ToolBar()->widgetForAction(mainWindow.Actions().next),
                    Qt::LeftButton);
  QTest::qWait(50);
  EXPECT_EQ(state.cursor.elements.xz, 300);
  QTest::mouseClick(mainWindow.ToolBar()->widgetForAction(mainWindow.Actions().previous),
                    Qt::LeftButton);
  QTest::qWait(50);
  EXPECT_EQ(state.cursor.elements.xz, 200);
  QTest::mouseClick(mainWindow.ToolBar()->widgetForAction(mainWindow.Actions().list),
                    Qt::LeftButton);
  ASSERT_NE(mainWindow.ActiveView()->ListDialog(), nullptr);
  EXPECT_EQ(mainWindow.ActiveView()->ListDialog()->parentWidget(), &mainWindow);
}

TEST_F(MainWindowTest, OpeningAFileAddsItToTheRecentFileList) {
  const std::string document = DocumentText(state).toStdString();
  dir.Write("notes.gnm", document);
  mainWindow.MdiArea()->closeAllSubWindows();
  QTest::qWait(20);
  ASSERT_NE(mainWindow.OpenDocument(QString::fromStdString(dir.File("notes.gnm"))), nullptr);
  EXPECT_EQ(mainWindow.MdiArea()->subWindowList()[0]->windowTitle(), "notes.gnm");
  EXPECT_EQ(mainWindow.RecentFiles().value(0), QString::fromStdString(dir.File("notes.gnm")));
  // Opening leaves the file as it is.
  std::ifstream in(dir.File("notes.gnm"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), document);
  mainWindow.MdiArea()->closeAllSubWindows();
  QTest::qWait(20);
  EXPECT_TRUE(MenuTexts(mainWindow, "ﾌｧｲﾙ(&F)").contains("&1 notes.gnm"));
  EXPECT_FALSE(MenuTexts(mainWindow, "ﾌｧｲﾙ(&F)").contains("最近使ったﾌｧｲﾙ"));
}

// The predictions window opens for the view's observer; choosing a contact
// loads its event in the view and shows the local circumstances.
TEST_F(MainWindowTest, PredictionsWindowLoadsTheChosenEventInTheView) {
  OccultationView* view = mainWindow.ActiveView();
  ASSERT_NE(view, nullptr);
  view->State().site.longitude = 0;  // the fixture's stars pass the zenith at 0° 0°
  view->State().site.latitude = 0;
  mainWindow.Actions().predictions->trigger();
  PredictionsWindow* window = mainWindow.Predictions();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Site().longitude, 0);
  window->FromEdit()->setDate(QDate(2026, 12, 1));
  window->DaysEdit()->setValue(30);
  window->Compute();
  ASSERT_TRUE(window->WaitForRun());
  ASSERT_EQ(window->Model().rowCount(), 2);  // D and R of the star of 10 December
  // Both rows carry the one occultation's number.
  EXPECT_EQ(window->Model().headerData(0, Qt::Vertical, Qt::DisplayRole).toInt(), 1);
  EXPECT_EQ(window->Model().headerData(1, Qt::Vertical, Qt::DisplayRole).toInt(), 1);
  // A window of its own: no parent to stay above or to minimise with.
  EXPECT_EQ(window->parentWidget(), nullptr);
  EXPECT_TRUE(window->isWindow());
  const PredictedContact contact = window->Model().Contact(0);
  EXPECT_EQ(contact.xz, 200);
  mainWindow.show();
  window->show();
  window->activateWindow();
  BesselianElements record{};  // unused: the event is read again from its file
  emit window->EventChosen(contact, window->Site(), record);
  EXPECT_EQ(view->State().cursor.elements.xz, 200);
  EXPECT_EQ(view->State().display.displayMode, DisplayMode::LocalCircumstances);
  // The loaded event comes to the front.
  EXPECT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
  window->close();
}

}  // namespace
}  // namespace vernier
