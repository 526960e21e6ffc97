#include "app/list_dialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMetaObject>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "app/band_builder.h"
#include "app/data_exchange.h"
#include "app/dialog_controls.h"
#include "app/view.h"
#include "gdi/recording_device_context.h"
#include "search/search_list.h"

namespace vernier {

QString ListDialogHeader() {
  return QString::fromStdString(SearchListHeader()) + QStringLiteral("     UT        Mag.");
}

QString ListDialogRow(const EventEntry& row, bool afterScan, const StarNames* names) {
  // A time on the day before or after the row's date carries the day's offset.
  const long minutes = std::lround(row.hourUt * 60);
  const long dayOffset = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
  const long ofDay = minutes - dayOffset * 1440;
  char offset[24] = "    ";
  if (dayOffset != 0) std::snprintf(offset, sizeof offset, "(%+ld)", dayOffset);
  char extra[48];
  std::snprintf(extra, sizeof extra, "   %02ld:%02ld%-4s %6.2f", ofDay / 60, ofDay % 60, offset,
                row.magnitude);
  const std::string name = names ? SearchListBodyName(row, *names) : "";
  return QString::fromStdString(SearchListRow(row, afterScan) + extra +
                                (name.empty() ? "" : "  " + name));
}

CListDlg::CListDlg(ProgramState& state, CGnomonView* view, QWidget* parent)
    : QDialog(parent), state_(state), view_(view) {
  setWindowTitle(tr("星蝕検索リスト表示"));
  setModal(false);

  list1040 = new QListWidget(this);
  list1040->setObjectName(QStringLiteral("1040"));
  list1040->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list1040->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list1040->setMinimumSize(
      QFontMetrics(list1040->font()).horizontalAdvance(QString(72, QLatin1Char('0'))), 260);
  edit1041 = MakeEdit(1041, this, 8);
  edit1042 = MakeEdit(1042, this, 8);
  button1043 = MakeButton(1043, tr("検索開始"), this);
  button1044 = MakeButton(1044, tr("星蝕図描画"), this);
  messages = new QLabel(this);
  messages->setStyleSheet(
      QStringLiteral("QLabel { background: black; color: white; padding: 4px; }"));
  messages->hide();

  auto* fields = new QHBoxLayout;
  auto* startLabel = new QLabel(tr("検索開始年"), this);
  startLabel->setBuddy(edit1041);
  auto* periodLabel = new QLabel(tr("調査期間（年）"), this);
  periodLabel->setBuddy(edit1042);
  fields->addWidget(startLabel);
  fields->addWidget(edit1041);
  fields->addSpacing(12);
  fields->addWidget(periodLabel);
  fields->addWidget(edit1042);
  fields->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(button1043);
  buttons->addWidget(button1044);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(messages);
  layout->addWidget(list1040, 1);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addLayout(MakeOkCancelRow(this, tr("終了"), tr("ｷｬﾝｾﾙ")));
  // Enter starts the scan rather than closing the list.
  findChild<QPushButton*>(QStringLiteral("1"))->setDefault(false);
  button1043->setDefault(true);

  connect(button1043, &QPushButton::clicked, this, &CListDlg::OnScan);
  connect(button1044, &QPushButton::clicked, this, &CListDlg::OnDraw);
  connect(list1040, &QListWidget::currentRowChanged, this, &CListDlg::OnSelectionChange);
  // A double click on an event's row loads it, as the draw button does.
  connect(list1040, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (list1040->row(item) > 0) OnDraw();
  });

  // Opening: this year, the usual span, and the rows of the last scan.
  startYear = state.today().year;
  periodYears = kListPeriodYears;
  ShowRows(false);
  edit1041->setText(FormatEditNumber(startYear));
  edit1042->setText(FormatEditNumber(periodYears));
}

void CListDlg::ShowRows(bool afterScan) {
  filling_ = true;
  list1040->clear();
  list1040->addItem(ListDialogHeader());
  for (const EventEntry& row : state_.results.rows)
    list1040->addItem(ListDialogRow(row, afterScan, &StarNames::Shared(state_.dataDirectory)));
  filling_ = false;
}

void CListDlg::OnSelectionChange(int listRow) {
  if (filling_ || listRow < 0) return;
  // The header is the list's first line and stands for the first result.
  state_.selectedRow = listRow - 1 < 0 ? 0 : listRow - 1;
}

void CListDlg::OnScan() {
  DataExchange dx(this);
  double start = startYear, period = periodYears;
  dx.Number(edit1041, start, kEarliestYear, kLatestYear);
  dx.Number(edit1042, period, 1, 1);
  if (!dx.ok()) return;
  startYear = start;
  periodYears = period;

  RecordingDeviceContext drawn;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ScanSearchList(state_, drawn, startYear, periodYears);
  QApplication::restoreOverrideCursor();

  QStringList lines;
  for (const DrawnText& text : drawn.Texts()) lines << QString::fromStdString(text.text);
  messages->setText(lines.join(QLatin1Char('\n')));
  messages->setVisible(!lines.isEmpty());
  ShowRows(true);
  // A missing band: once built, the same span is scanned again.
  if (const auto band = std::exchange(state_.navigation.missingBand, std::nullopt))
    QMetaObject::invokeMethod(
        this,
        [this, missing = *band] {
          if (CBandBuildDlg::OfferToBuild(this, state_.dataDirectory.primary, missing)) OnScan();
        },
        Qt::QueuedConnection);
}

void CListDlg::OnDraw() {
  CGnomonView* view = view_;
  QMetaObject::invokeMethod(
      view, [view] { view->OnListDraw(); }, Qt::QueuedConnection);
}

void CListDlg::accept() {
  CGnomonView* view = view_;
  QMetaObject::invokeMethod(
      view, [view] { view->DestroyListDialog(); }, Qt::QueuedConnection);
}

void CListDlg::reject() {
  accept();
}

}  // namespace vernier
