// The search list: opening, scanning, choosing a row and drawing it in the
// view, refusing bad spans, and the window's life beside the view's.
#include "app/search_list_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include "app/occultation_view.h"
#include "app_fixture.h"

namespace vernier {
namespace {

using testing::AppTest;
using testing::CaptureNextMessage;

const char kHeader[] = "    Date          XZ#      SAO#      HIP#       ZC#";

class SearchListDialogTest : public AppTest {
 protected:
  SearchListDialogTest() {
    view = new OccultationView(state);
    view->resize(500, 400);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
    EXPECT_EQ(state.cursor.elements.xz, 200);  // 10 December 2026
  }
  ~SearchListDialogTest() override { delete view; }

  SearchListDialog* Open() {
    view->OnList();
    SearchListDialog* list = view->ListDialog();
    EXPECT_NE(list, nullptr);
    return list;
  }
  // The list's lines as the search list writes them (without the time and
  // magnitude columns, which FullLines keeps).
  QStringList Lines(SearchListDialog* list) const {
    static const QRegularExpression kTimeAndMagnitude(
        QStringLiteral("\\s+(UT\\s+Mag\\.|\\d\\d:\\d\\d\\S*\\s+-?\\d+\\.\\d\\d)$"));
    QStringList lines = FullLines(list);
    for (QString& line : lines) line.remove(kTimeAndMagnitude);
    return lines;
  }
  QStringList FullLines(SearchListDialog* list) const {
    QStringList lines;
    const QAbstractItemModel* model = list->eventList->model();
    for (int i = 0; i < model->rowCount(); ++i) lines << model->index(i, 0).data().toString();
    return lines;
  }
  // Makes line `line` of the list the current one, as a click on it does.
  static void Choose(SearchListDialog* list, int line) {
    list->eventList->setCurrentIndex(list->eventList->model()->index(line, 0));
  }
  // Types the span and presses "検索開始"; returns the message box's text.
  QString Scan(SearchListDialog* list, const QString& start, const QString& period = "1") {
    list->startYearEdit->setText(start);
    list->periodEdit->setText(period);
    QString message;
    auto watch = CaptureNextMessage(&message);
    QTest::mouseClick(list->scanButton, Qt::LeftButton);
    testing::StopWatching(watch);
    return message;
  }
  void Paint() {
    QCoreApplication::processEvents();
    view->repaint();
  }

  OccultationView* view;
};

TEST_F(SearchListDialogTest, OpensWithTheHeaderThisYearAndTheUsualSpan) {
  SearchListDialog* list = Open();
  EXPECT_TRUE(list->isVisible());
  EXPECT_FALSE(list->isModal());
  EXPECT_EQ(list->windowTitle(), "星蝕検索リスト表示");
  EXPECT_EQ(Lines(list), QStringList{kHeader});
  EXPECT_EQ(list->startYearEdit->text(), "2026");
  EXPECT_EQ(list->periodEdit->text(), "1");
  EXPECT_EQ(list->findChild<QPushButton*>("okButton")->text(), "終了");
  EXPECT_EQ(list->findChild<QPushButton*>("cancelButton")->text(), "ｷｬﾝｾﾙ");
  // The command does nothing more while the window is open.
  view->OnList();
  EXPECT_EQ(view->ListDialog(), list);
}

TEST_F(SearchListDialogTest, ScanListsTheYearsEventsAndDrawShowsTheChosenRow) {
  SearchListDialog* list = Open();
  EXPECT_EQ(Scan(list, "2026"), "");
  EXPECT_EQ(Lines(list), (QStringList{kHeader, "  2026.1101       100         0        0        0",
                                      "  2026.1210       200         0        0        0"}));
  // The view still shows the event it showed before the scan.
  EXPECT_EQ(state.cursor.elements.xz, 200);
  Paint();
  EXPECT_EQ(state.cursor.elements.xz, 200);

  Choose(list, 2);
  EXPECT_EQ(state.selectedRow, 1);
  Choose(list, 1);
  EXPECT_EQ(state.selectedRow, 0);
  Choose(list, 2);
  // The header line stands for the first result.
  Choose(list, 0);
  EXPECT_EQ(state.selectedRow, 0);

  QTest::mouseClick(list->drawButton, Qt::LeftButton);
  EXPECT_EQ(state.cursor.elements.xz, 200);  // posted: the view acts when it gets it
  Paint();
  EXPECT_EQ(state.cursor.elements.xz, 100);
  EXPECT_EQ(state.cursor.event.day, 1);
  EXPECT_EQ(view->LastOutcome(), PaintOutcome::Drawn);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);

  // A span across the end of ecad22.PRN: the row found in ecad24.PRN is
  // loaded as that very record.
  EXPECT_EQ(Scan(list, "2201"), "");
  EXPECT_EQ(Lines(list),
            (QStringList{kHeader, "  2201.0203       400         0        0        0"}));
  Choose(list, 1);
  QTest::mouseClick(list->drawButton, Qt::LeftButton);
  Paint();
  EXPECT_EQ(state.cursor.elements.xz, 400);
  EXPECT_EQ(state.cursor.elements.year, 2201);
  view->OnNext();
  Paint();
  EXPECT_EQ(state.cursor.elements.year, 2300);
}

TEST_F(SearchListDialogTest, RowsShowTheTimeAndMagnitudeAndADoubleClickLoadsTheRow) {
  SearchListDialog* list = Open();
  ASSERT_EQ(Scan(list, "2026"), "");
  // The test stars pass closest at t0 = 0 h TT: in UT a minute or so before
  // midnight, on the day before the row's date.
  EXPECT_EQ(FullLines(list),
            (QStringList{QString(kHeader) + "     UT        Mag.",
                         "  2026.1101       100         0        0        0   23:59(-1)   4.50",
                         "  2026.1210       200         0        0        0   23:59(-1)   4.50"}));
  EXPECT_EQ(ListDialogRow(EventEntry{2026, 3, 4, 0, 7, 0, 0, 0, 0, 13.5, -1.25}, true),
            "  2026.0304         7         0        0        0   13:30      -1.25");
  EXPECT_TRUE(ListDialogRow(EventEntry{2026, 3, 4, 0, 7, 0, 0, 0, 0, 24.25, 2}, true)
                  .endsWith("   00:15(+1)   2.00"));
  // The list's model on its own: the header, then a line per event, each line
  // standing for its event and the header for the first.
  SearchListModel model;
  model.SetRows({EventEntry{2026, 3, 4, 0, 7, 0, 0, 0, 0, 13.5, -1.25},
                 EventEntry{2026, 3, 4, 0, 8, 0, 0, 0, 0, 24.25, 2}},
                true, nullptr);
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.index(0).data().toString(), ListDialogHeader());
  EXPECT_EQ(model.index(1).data().toString(),
            "  2026.0304         7         0        0        0   13:30      -1.25");
  const int kEvent = SearchListModel::kEventRole;
  EXPECT_EQ(model.index(0).data(kEvent), 0);
  EXPECT_EQ(model.index(1).data(kEvent), 0);
  EXPECT_EQ(model.index(2).data(kEvent), 1);
  EXPECT_FALSE(model.index(3).data().isValid());
  model.SetRows({}, false, nullptr);
  EXPECT_EQ(model.rowCount(), 1);

  // A double click on an event's row loads it, as the draw button does.
  auto doubleClick = [&](int row) {
    const QPoint at = list->eventList->visualRect(list->eventList->model()->index(row, 0)).center();
    QTest::mouseClick(list->eventList->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->eventList->viewport(), Qt::LeftButton, {}, at);
    Paint();
  };
  doubleClick(1);
  EXPECT_EQ(state.cursor.elements.xz, 100);
  doubleClick(2);
  EXPECT_EQ(state.cursor.elements.xz, 200);
  // The header line loads nothing (as a row it would stand for the first event).
  doubleClick(0);
  EXPECT_EQ(state.cursor.elements.xz, 200);
}

TEST_F(SearchListDialogTest, RefusedSpansScanNothing) {
  SearchListDialog* list = Open();
  ASSERT_EQ(Scan(list, "2026"), "");
  const QStringList rows = Lines(list);
  EXPECT_EQ(Scan(list, "2027", "2"), "1 から 1 までの数字を入力してください。");
  EXPECT_EQ(Scan(list, "4001"), "-3000 から 4000 までの数字を入力してください。");
  EXPECT_EQ(Scan(list, "year"), "数字を入力してください。");
  EXPECT_EQ(Lines(list), rows);
  EXPECT_EQ(state.results.rows.size(), 2u);
}

TEST_F(SearchListDialogTest, DrawWithAnEmptyListChangesNothing) {
  QSignalSpy notes(view, &OccultationView::StatusNote);
  SearchListDialog* list = Open();
  ASSERT_EQ(Scan(list, "1990"), "");  // no event in 1990
  EXPECT_EQ(Lines(list), QStringList{kHeader});
  Choose(list, 0);
  QTest::mouseClick(list->drawButton, Qt::LeftButton);
  Paint();
  EXPECT_EQ(state.cursor.elements.xz, 200);
  EXPECT_EQ(notes.count(), 1);
}

TEST_F(SearchListDialogTest, AMissingNextFileIsReportedInTheListWindow) {
  std::filesystem::remove(dir.File("ecad24.PRN"));
  SearchListDialog* list = Open();
  EXPECT_FALSE(list->messages->isVisible());
  ASSERT_EQ(Scan(list, "2200"), "");
  EXPECT_TRUE(list->messages->isVisible());
  EXPECT_TRUE(list->messages->text().startsWith("ベッセル要素ファイルがありません！ 1 "));
  EXPECT_EQ(Lines(list),
            (QStringList{kHeader, "  2200.0601       145         0        0        0"}));
}

TEST_F(SearchListDialogTest, EndAndCancelCloseOnlyTheListAndReopeningShowsTheLastRows) {
  SearchListDialog* list = Open();
  ASSERT_EQ(Scan(list, "2026"), "");
  Choose(list, 2);
  QTest::mouseClick(list->findChild<QPushButton*>("okButton"), Qt::LeftButton);  // 終了
  EXPECT_TRUE(QTest::qWaitFor([this] { return view->ListDialog() == nullptr; }));
  EXPECT_EQ(view->ListDialog(), nullptr);
  EXPECT_TRUE(view->isVisible());

  state.today = [] { return CalendarDay{2031, 5, 5}; };
  list = Open();
  // The rows of the last scan, in the opening format (two blanks before the
  // last number), and this year as the start.
  EXPECT_EQ(Lines(list), (QStringList{kHeader, "  2026.1101       100         0        0       0",
                                      "  2026.1210       200         0        0       0"}));
  EXPECT_EQ(list->startYearEdit->text(), "2031");
  EXPECT_EQ(state.selectedRow, 1);  // kept across openings
  QTest::mouseClick(list->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);  // ｷｬﾝｾﾙ
  EXPECT_TRUE(QTest::qWaitFor([this] { return view->ListDialog() == nullptr; }));
  EXPECT_EQ(view->ListDialog(), nullptr);
}

TEST_F(SearchListDialogTest, ClosingTheViewDestroysTheListWindow) {
  QPointer<SearchListDialog> list = Open();
  ASSERT_TRUE(list);
  delete view;
  view = nullptr;
  EXPECT_TRUE(list.isNull());
}

}  // namespace
}  // namespace vernier
