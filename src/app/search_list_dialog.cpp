#include "app/search_list_dialog.h"

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
#include "app/occultation_view.h"
#include "program/search_list.h"

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

void SearchListModel::SetRows(std::vector<EventEntry> rows, bool afterScan,
                              const StarNames* names) {
  beginResetModel();
  rows_ = std::move(rows);
  afterScan_ = afterScan;
  names_ = names;
  endResetModel();
}

int SearchListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + 1;
}

QVariant SearchListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int line = index.row();
  if (role == Qt::DisplayRole)
    return line == 0 ? ListDialogHeader() : ListDialogRow(rows_[line - 1], afterScan_, names_);
  if (role == kEventRole) return line == 0 ? 0 : line - 1;
  return {};
}

SearchListDialog::SearchListDialog(ProgramState& state, OccultationView* view, QWidget* parent)
    : QDialog(parent), state_(state), view_(view) {
  setWindowTitle(tr("星蝕検索リスト表示"));
  setModal(false);

  model_ = new SearchListModel(this);
  eventList = new QListView(this);
  eventList->setModel(model_);
  eventList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  eventList->setSelectionMode(QAbstractItemView::SingleSelection);
  eventList->setUniformItemSizes(true);
  eventList->setObjectName(QStringLiteral("eventList"));
  eventList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  eventList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  eventList->setMinimumSize(
      QFontMetrics(eventList->font()).horizontalAdvance(QString(72, QLatin1Char('0'))), 260);
  startYearEdit = MakeEdit("startYearEdit", this, 8);
  periodEdit = MakeEdit("periodEdit", this, 8);
  scanButton = MakeButton("scanButton", tr("検索開始"), this);
  drawButton = MakeButton("drawButton", tr("星蝕図描画"), this);
  messages = new QLabel(this);
  messages->setObjectName(QStringLiteral("scanMessages"));
  messages->setStyleSheet(
      QStringLiteral("QLabel { background: black; color: white; padding: 4px; }"));
  messages->hide();

  auto* fields = new QHBoxLayout;
  auto* startLabel = new QLabel(tr("検索開始年"), this);
  startLabel->setBuddy(startYearEdit);
  auto* periodLabel = new QLabel(tr("調査期間（年）"), this);
  periodLabel->setBuddy(periodEdit);
  fields->addWidget(startLabel);
  fields->addWidget(startYearEdit);
  fields->addSpacing(12);
  fields->addWidget(periodLabel);
  fields->addWidget(periodEdit);
  fields->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(scanButton);
  buttons->addWidget(drawButton);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(messages);
  layout->addWidget(eventList, 1);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addLayout(MakeOkCancelRow(this, tr("終了"), tr("ｷｬﾝｾﾙ")));
  // Enter starts the scan rather than closing the list.
  findChild<QPushButton*>(QLatin1String(kOkButtonName))->setDefault(false);
  scanButton->setDefault(true);

  connect(scanButton, &QPushButton::clicked, this, &SearchListDialog::OnScan);
  connect(drawButton, &QPushButton::clicked, this, &SearchListDialog::OnDraw);
  connect(eventList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { OnSelectionChange(current.row()); });
  // A double click on an event's row loads it, as the draw button does.
  connect(eventList, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.row() > 0) OnDraw();
  });

  // Opening: this year, the usual span, and the rows of the last scan.
  startYear = state.today().year;
  periodYears = kListPeriodYears;
  ShowRows(false);
  startYearEdit->setText(FormatEditNumber(startYear));
  periodEdit->setText(FormatEditNumber(periodYears));
}

void SearchListDialog::ShowRows(bool afterScan) {
  filling_ = true;
  model_->SetRows(state_.results.rows, afterScan, &StarNames::Shared(state_.dataDirectory));
  filling_ = false;
}

void SearchListDialog::OnSelectionChange(int listRow) {
  if (filling_ || listRow < 0) return;
  state_.selectedRow = model_->index(listRow).data(SearchListModel::kEventRole).toInt();
}

void SearchListDialog::OnScan() {
  DataExchange dx(this);
  double start = startYear, period = periodYears;
  dx.Number(startYearEdit, start, kEarliestYear, kLatestYear);
  dx.Number(periodEdit, period, 1, 1);
  if (!dx.ok()) return;
  startYear = start;
  periodYears = period;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  const SearchScan scan = ScanSearchList(state_, startYear, periodYears);
  QApplication::restoreOverrideCursor();

  QStringList lines;
  for (const std::string& line : scan.message.lines) lines << QString::fromStdString(line);
  messages->setText(lines.join(QLatin1Char('\n')));
  messages->setVisible(!lines.isEmpty());
  ShowRows(true);
  // A missing band: once built, the same span is scanned again.
  if (const auto band = std::exchange(state_.navigation.missingBand, std::nullopt))
    QMetaObject::invokeMethod(
        this,
        [this, missing = *band] {
          if (BandBuildDialog::OfferToBuild(this, state_.dataDirectory.primary, missing)) OnScan();
        },
        Qt::QueuedConnection);
}

void SearchListDialog::OnDraw() {
  OccultationView* view = view_;
  QMetaObject::invokeMethod(
      view, [view] { view->OnListDraw(); }, Qt::QueuedConnection);
}

void SearchListDialog::accept() {
  OccultationView* view = view_;
  QMetaObject::invokeMethod(
      view, [view] { view->DestroyListDialog(); }, Qt::QueuedConnection);
}

void SearchListDialog::reject() {
  accept();
}

}  // namespace vernier
