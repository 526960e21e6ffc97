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
#include "support/text_files.h"

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
  // Asks the view for a fresh paint and waits until it has painted.
  void RedrawAndWait() {
    OccultationView* view = mainWindow.ActiveView();
    EXPECT_TRUE(testing::PaintsAfter(view, [view] { view->OnRedraw(); }));
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
  EXPECT_TRUE(QTest::qWaitFor([view] { return view->PaintCount() > 0; }));
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
  EXPECT_TRUE(QTest::qWaitFor([this] { return !mainWindow.ShowsViewMenus(); }));
  EXPECT_EQ(MenuBarTexts(mainWindow), (QStringList{"ﾌｧｲﾙ(&F)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
  EXPECT_EQ(MenuTexts(mainWindow, "ﾌｧｲﾙ(&F)"),
            (QStringList{"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "-", "ﾌﾟﾘﾝﾀの設定(&R)...",
                         "-", "最近使ったﾌｧｲﾙ", "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
  EXPECT_EQ(MenuTexts(mainWindow, "ﾍﾙﾌﾟ(&H)"),
            (QStringList{"使い方(&G)...", "Vernier のﾊﾞｰｼﾞｮﾝ情報(&A)..."}));
  EXPECT_FALSE(testing::Command(mainWindow, "actionNext")->isEnabled());
  EXPECT_FALSE(testing::Command(mainWindow, "actionList")->isEnabled());
  EXPECT_TRUE(testing::Command(mainWindow, "actionAbout")->isEnabled());

  // New (Ctrl+N) opens another view, and the view's menus return.
  QTest::keyClick(&mainWindow, Qt::Key_N, Qt::ControlModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !mainWindow.MdiArea()->subWindowList().empty(); }));
  ASSERT_EQ(mainWindow.MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(mainWindow.MdiArea()->subWindowList()[0]->windowTitle(), "Vernier2");
  EXPECT_TRUE(mainWindow.ShowsViewMenus());
  EXPECT_TRUE(testing::Command(mainWindow, "actionNext")->isEnabled());
}

TEST_F(MainWindowTest, EveryMenuCommandIsFoundByItsOwnObjectName) {
  // Each entry of the view's menus and of the no-view menus is an action the
  // window finds by its name, and no two commands share a name.
  QStringList names;
  const auto collect = [&] {
    for (QAction* top : mainWindow.menuBar()->actions()) {
      if (!top->menu()) continue;
      for (QAction* item : top->menu()->actions()) {
        if (item->isSeparator() || item->menu()) continue;
        EXPECT_TRUE(item->objectName().startsWith("action")) << item->text().toStdString();
        EXPECT_EQ(mainWindow.findChild<QAction*>(item->objectName()), item)
            << item->objectName().toStdString();
        if (!names.contains(item->objectName())) names << item->objectName();
      }
    }
  };
  collect();
  mainWindow.MdiArea()->closeAllSubWindows();
  ASSERT_TRUE(QTest::qWaitFor([this] { return !mainWindow.ShowsViewMenus(); }));
  collect();
  // Both Help menus' about entries, the four recent files and their
  // placeholder are commands of their own.
  for (const char* name : {"actionAbout", "actionAboutNoView", "actionRecentFilePlaceholder",
                           "actionRecentFile1", "actionRecentFile4", "actionNext", "actionGraze"})
    EXPECT_TRUE(names.contains(name)) << name;
  // Triggering by name is the command itself: the toolbar's toggle hides it.
  QAction* toolBar = mainWindow.findChild<QAction*>("actionToolBar");
  ASSERT_NE(toolBar, nullptr);
  toolBar->trigger();
  EXPECT_FALSE(mainWindow.ToolBar()->isVisible());
}

TEST_F(MainWindowTest, ToolbarHasTwelveButtonsInThreeGroupsWithTheirTooltips) {
  // A typed centre, so that the zoom buttons act and show their own tooltips.
  state.map.preset = WindowPreset::TypedCentre;
  RedrawAndWait();
  const struct {
    const char* name;
    const char* tip;
  } expected[] = {{"actionPrevious", "前の星蝕"},
                  {"actionNext", "次の星蝕"},
                  {"actionList", "星蝕リスト"},
                  {"actionPredictions", "観測地の星蝕予報"},
                  {nullptr, nullptr},
                  {"actionZoomIn", "拡大"},
                  {"actionZoomOut", "縮小"},
                  {"actionZoomReset", "地図拡大解除"},
                  {nullptr, nullptr},
                  {"actionLocal", "局地情報表示"},
                  {"actionBackToMap", "地図表示へ戻る"},
                  {"actionSky", ""},
                  {"actionLimb", ""},
                  {"actionAbout", "ﾊﾞｰｼﾞｮﾝ情報"}};
  const QList<QAction*> actions = mainWindow.ToolBar()->actions();
  ASSERT_EQ(actions.size(), 14);
  QList<QImage> icons;
  for (int i = 0; i < 14; ++i) {
    if (!expected[i].tip) {
      EXPECT_TRUE(actions[i]->isSeparator()) << i;
      continue;
    }
    EXPECT_EQ(actions[i]->objectName(), expected[i].name) << i;
    // The toolbar holds the very actions the window finds by their names.
    EXPECT_EQ(mainWindow.findChild<QAction*>(expected[i].name), actions[i]) << i;
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
  const QStringList kToolbarAndMenu = {
      "actionNext",      "actionPrevious", "actionList",      "actionZoomIn", "actionZoomOut",
      "actionZoomReset", "actionLocal",    "actionBackToMap", "actionSky",    "actionLimb"};
  testing::Command(mainWindow, "actionToolBar")->trigger();
  EXPECT_FALSE(mainWindow.ToolBar()->isVisible());
  for (QAction* top : mainWindow.menuBar()->actions()) {
    if (!top->menu()) continue;
    for (QAction* item : top->menu()->actions())
      if (kToolbarAndMenu.contains(item->objectName())) {
        EXPECT_FALSE(item->shortcuts().isEmpty()) << item->text().toStdString();
      }
    // (The predictions window is on both, without a key.)
  }
  testing::Command(mainWindow, "actionToolBar")->trigger();
  EXPECT_TRUE(mainWindow.ToolBar()->isVisible());
}

TEST_F(MainWindowTest, StatusBarShowsReadyAndThePromptOfTheItemUnderThePointer) {
  state.map.preset = WindowPreset::TypedCentre;  // the zoom acts: its own prompt
  RedrawAndWait();
  QStatusBar* bar = mainWindow.statusBar();
  EXPECT_EQ(mainWindow.ReadyPane()->text(), "ﾚﾃﾞｨ");
  EXPECT_TRUE(mainWindow.ReadyPane()->isVisible());
  EXPECT_TRUE(bar->currentMessage().isEmpty());

  // Pointing at the "next" button shows the first line of its prompt.
  QWidget* next = mainWindow.ToolBar()->widgetForAction(testing::Command(mainWindow, "actionNext"));
  QTest::mouseMove(next);
  EXPECT_TRUE(QTest::qWaitFor([bar] { return !bar->currentMessage().isEmpty(); }));
  EXPECT_EQ(bar->currentMessage(), "次の星蝕を表示");
  EXPECT_FALSE(mainWindow.ReadyPane()->isVisible());
  QWidget* zoom =
      mainWindow.ToolBar()->widgetForAction(testing::Command(mainWindow, "actionZoomIn"));
  QTest::mouseMove(zoom);
  EXPECT_TRUE(QTest::qWaitFor([bar] { return bar->currentMessage() != "次の星蝕を表示"; }));
  EXPECT_EQ(bar->currentMessage(), "地図拡大モード時拡大（拡大モードへは左ダブルクリックで）");

  // Away from the bar the pane says ready again.
  QTest::mouseMove(mainWindow.ActiveView());
  EXPECT_TRUE(QTest::qWaitFor([bar] { return bar->currentMessage().isEmpty(); }));
  EXPECT_TRUE(mainWindow.ReadyPane()->isVisible());
}

TEST_F(MainWindowTest, ToolbarCommandsReachTheView) {
  ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow.ActiveView()->PaintCount() > 0; }));
  ASSERT_EQ(state.cursor.elements.xz, 200);
  QTest::mouseClick(
      mainWindow.ToolBar()->widgetForAction(testing::Command(mainWindow, "actionNext")),
      Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([this] { return state.cursor.elements.xz != 200; }));
  EXPECT_EQ(state.cursor.elements.xz, 300);
  QTest::mouseClick(
      mainWindow.ToolBar()->widgetForAction(testing::Command(mainWindow, "actionPrevious")),
      Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([this] { return state.cursor.elements.xz != 300; }));
  EXPECT_EQ(state.cursor.elements.xz, 200);
  QTest::mouseClick(
      mainWindow.ToolBar()->widgetForAction(testing::Command(mainWindow, "actionList")),
      Qt::LeftButton);
  ASSERT_NE(mainWindow.ActiveView()->ListDialog(), nullptr);
  EXPECT_EQ(mainWindow.ActiveView()->ListDialog()->parentWidget(), &mainWindow);
}

TEST_F(MainWindowTest, OpeningAFileAddsItToTheRecentFileList) {
  const std::string document = DocumentText(state).toStdString();
  dir.Write("notes.gnm", document);
  mainWindow.MdiArea()->closeAllSubWindows();
  ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow.MdiArea()->subWindowList().empty(); }));
  ASSERT_NE(mainWindow.OpenDocument(QString::fromStdString(dir.File("notes.gnm"))), nullptr);
  EXPECT_EQ(mainWindow.MdiArea()->subWindowList()[0]->windowTitle(), "notes.gnm");
  EXPECT_EQ(mainWindow.RecentFiles().value(0), QString::fromStdString(dir.File("notes.gnm")));
  // Opening leaves the file as it is.
  EXPECT_EQ(testing::ReadWholeFile(dir.File("notes.gnm")), document);
  mainWindow.MdiArea()->closeAllSubWindows();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !mainWindow.ShowsViewMenus(); }));
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
  testing::Command(mainWindow, "actionPredictions")->trigger();
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
