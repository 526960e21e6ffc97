#include "app/predictions_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/timings_window.h"
#include "local/calendar_export.h"
#include "local/prediction_table.h"

namespace vernier {
namespace {

constexpr int kNoMagnitudeLimit = 99;

}  // namespace

PredictionsModel::PredictionsModel(QObject* parent) : QAbstractTableModel(parent) {}

void PredictionsModel::SetContacts(std::vector<PredictedContact> contacts, const StarNames* names) {
  beginResetModel();
  contacts_ = std::move(contacts);
  names_ = names;
  endResetModel();
}

void PredictionsModel::SetTimeZone(const QTimeZone& zone) {
  zone_ = zone;
  if (!contacts_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QString PredictionsModel::LocalTime(double jdUT) const {
  const QDateTime time = QDateTime::fromSecsSinceEpoch(UnixSecondsOf(jdUT), zone_);
  return time.toString(Qt::ISODate);
}

std::vector<std::string> PredictionsModel::Record(int row) const {
  static const StarNames kNoNames;
  const PredictedContact& c = contacts_[row];
  return PredictionRecord(c, names_ ? *names_ : kNoNames, LocalTime(c.jdUT).toStdString());
}

int PredictionsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(contacts_.size());
}

int PredictionsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(PredictionFields().size());
}

QVariant PredictionsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const PredictionField& field = PredictionFields()[index.column()];
  if (role == Qt::TextAlignmentRole)
    return field.type == FieldType::Number ? int(Qt::AlignRight | Qt::AlignVCenter)
                                           : int(Qt::AlignLeft | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::UserRole) return {};
  const std::string text = Record(index.row())[index.column()];
  if (role == Qt::DisplayRole) return QString::fromStdString(text);
  // Sorting: the instant for the three time columns, numbers as numbers.
  const int column = index.column();
  if (column <= PredictionFieldIndex("local_time")) return contacts_[index.row()].jdUT;
  if (field.type == FieldType::Number) return text.empty() ? QVariant() : QVariant(std::stod(text));
  return QString::fromStdString(text);
}

QVariant PredictionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return QString::fromLatin1(PredictionFields()[section].name);
}

void PredictionsFilter::SetFilter(double maxMagnitude, Limb limb) {
  maxMagnitude_ = maxMagnitude;
  limb_ = limb;
  invalidateFilter();
}

bool PredictionsFilter::filterAcceptsRow(int row, const QModelIndex&) const {
  const auto* model = static_cast<const PredictionsModel*>(sourceModel());
  const PredictedContact& c = model->Contact(row);
  if (c.magnitude > maxMagnitude_) return false;
  if (limb_ == Limb::Dark && c.brightLimb) return false;
  if (limb_ == Limb::Bright && !c.brightLimb) return false;
  return true;
}

PredictionsWindow::PredictionsWindow(const DataDirectory& dataDirectory, const ObserverSite& site,
                                     const QString& siteName, QWidget* parent)
    : QDialog(parent),
      dataDirectory_(dataDirectory),
      site_(site),
      names_(StarNames::Shared(dataDirectory)),
      model_(this),
      filter_(this) {
  setWindowTitle(tr("Predictions for the observer"));
  setModal(false);

  auto* siteLabel = new QLabel(tr("Site: %1  %2° %3, %4° %5, %6 m")
                                   .arg(siteName)
                                   .arg(std::fabs(site.longitude), 0, 'f', 4)
                                   .arg(site.longitude < 0 ? tr("W") : tr("E"))
                                   .arg(std::fabs(site.latitude), 0, 'f', 4)
                                   .arg(site.latitude < 0 ? tr("S") : tr("N"))
                                   .arg(site.height, 0, 'f', 0),
                               this);

  fromEdit_ = new QDateEdit(QDate::currentDate(), this);
  fromEdit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  fromEdit_->setDateRange(QDate(1951, 1, 1), QDate(4000, 12, 31));
  daysEdit_ = new QSpinBox(this);
  daysEdit_->setRange(1, 36525);
  daysEdit_->setValue(365);
  zoneCombo_ = new QComboBox(this);
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
    zoneCombo_->addItem(QString::fromLatin1(id));
  // The system's zone first, also when its id is not among the listed ones.
  const QString systemZone = QString::fromLatin1(QTimeZone::systemTimeZoneId());
  if (zoneCombo_->findText(systemZone) < 0) zoneCombo_->insertItem(0, systemZone);
  zoneCombo_->setCurrentIndex(zoneCombo_->findText(systemZone));
  computeButton_ = new QPushButton(tr("Compute"), this);

  magnitudeEdit_ = new QDoubleSpinBox(this);
  magnitudeEdit_->setRange(-5, kNoMagnitudeLimit);
  magnitudeEdit_->setDecimals(1);
  magnitudeEdit_->setSingleStep(0.5);
  magnitudeEdit_->setValue(kNoMagnitudeLimit);
  magnitudeEdit_->setToolTip(tr("99: no limit"));
  limbCombo_ = new QComboBox(this);
  limbCombo_->addItems({tr("both"), tr("dark"), tr("bright")});
  exportButton_ = new QPushButton(tr("Export CSV..."), this);
  calendarButton_ = new QPushButton(tr("カレンダーに書き出し..."), this);
  timingsButton_ = new QPushButton(tr("観測結果の整約..."), this);

  progress_ = new QProgressBar(this);
  progress_->setRange(0, 1000);
  progress_->setVisible(false);
  cancelButton_ = new QPushButton(tr("Cancel"), this);
  cancelButton_->setVisible(false);
  status_ = new QLabel(this);

  filter_.setSourceModel(&model_);
  filter_.setSortRole(Qt::UserRole);
  table_ = new QTableView(this);
  table_->setModel(&filter_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(0, Qt::AscendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);

  auto* span = new QHBoxLayout;
  span->addWidget(new QLabel(tr("From (UT):"), this));
  span->addWidget(fromEdit_);
  span->addWidget(new QLabel(tr("Days:"), this));
  span->addWidget(daysEdit_);
  span->addWidget(new QLabel(tr("Time zone:"), this));
  span->addWidget(zoneCombo_, 1);
  span->addWidget(computeButton_);
  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel(tr("Magnitude at most:"), this));
  filters->addWidget(magnitudeEdit_);
  filters->addWidget(new QLabel(tr("Limb:"), this));
  filters->addWidget(limbCombo_);
  filters->addStretch(1);
  filters->addWidget(exportButton_);
  filters->addWidget(calendarButton_);
  filters->addWidget(timingsButton_);
  auto* running = new QHBoxLayout;
  running->addWidget(status_, 1);
  running->addWidget(progress_, 2);
  running->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(siteLabel);
  layout->addLayout(span);
  layout->addLayout(filters);
  layout->addWidget(table_, 1);
  layout->addLayout(running);
  resize(1100, 520);

  connect(computeButton_, &QPushButton::clicked, this, &PredictionsWindow::Compute);
  connect(cancelButton_, &QPushButton::clicked, this, &PredictionsWindow::Cancel);
  connect(exportButton_, &QPushButton::clicked, this, &PredictionsWindow::ChooseExportFile);
  connect(calendarButton_, &QPushButton::clicked, this, &PredictionsWindow::ChooseCalendarFile);
  connect(timingsButton_, &QPushButton::clicked, this, [this] {
    auto* window = new TimingsWindow(dataDirectory_, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  });
  connect(magnitudeEdit_, &QDoubleSpinBox::valueChanged, this, &PredictionsWindow::ApplyFilter);
  connect(limbCombo_, &QComboBox::currentIndexChanged, this, &PredictionsWindow::ApplyFilter);
  connect(zoneCombo_, &QComboBox::currentTextChanged, this, [this](const QString& id) {
    const QTimeZone zone(id.toLatin1());
    if (zone.isValid()) model_.SetTimeZone(zone);
  });
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    const QModelIndex source = filter_.mapToSource(index);
    if (source.isValid()) emit EventChosen(model_.Contact(source.row()), site_);
  });
}

void PredictionsWindow::Compute() {
  PredictionRequest request;
  request.site = site_;
  const QDate from = fromEdit_->date();
  request.year = from.year();
  request.month = from.month();
  request.day = from.day();
  request.days = daysEdit_->value();

  cancelRequested_ = false;
  computeButton_->setEnabled(false);
  progress_->setValue(0);
  progress_->setVisible(true);
  cancelButton_->setVisible(true);
  status_->setText(tr("Computing..."));
  // The run reports after each event; the window stays responsive through it.
  const PredictionRun run = PredictOccultations(dataDirectory_, request, [this](double done) {
    progress_->setValue(static_cast<int>(done * 1000));
    QApplication::processEvents();
    return !cancelRequested_;
  });
  progress_->setVisible(false);
  cancelButton_->setVisible(false);
  computeButton_->setEnabled(true);
  model_.SetContacts(run.contacts, &names_);
  table_->resizeColumnsToContents();

  QString text = tr("%n contact(s)", nullptr, static_cast<int>(run.contacts.size()));
  if (run.cancelled) text += tr("; cancelled");
  if (!run.missingFile.empty())
    text += tr("; the element file %1 is missing").arg(QString::fromStdString(run.missingFile));
  if (run.contacts.empty() && !run.cancelled && run.unreadable.empty()) text = tr("No occultations found.");
  if (!run.unreadable.empty())
    text += tr("。%1。一覧はここで終わります").arg(QString::fromStdString(run.unreadable));
  status_->setText(text);
}

void PredictionsWindow::ApplyFilter() {
  const int limb = limbCombo_->currentIndex();
  filter_.SetFilter(magnitudeEdit_->value(), static_cast<PredictionsFilter::Limb>(limb));
}

bool PredictionsWindow::ExportCsv(const QString& path) const {
  // Written under a temporary name and renamed when complete, so that a
  // failed write never leaves half a file in place of the old one.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  std::vector<std::string> header;
  for (const PredictionField& field : PredictionFields()) header.push_back(field.name);
  std::string text = CsvLine(header) + "\n";
  for (int row = 0; row < filter_.rowCount(); ++row)
    text += CsvLine(model_.Record(filter_.mapToSource(filter_.index(row, 0)).row())) + "\n";
  return file.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size()) &&
         file.commit();
}

void PredictionsWindow::ChooseExportFile() {
  const QString path = QFileDialog::getSaveFileName(
      this, tr("Export predictions"), QStringLiteral("predictions.csv"), tr("CSV files (*.csv)"));
  if (path.isEmpty()) return;
  if (!ExportCsv(path)) status_->setText(tr("Could not write %1").arg(path));
}

bool PredictionsWindow::ExportCalendar(const QString& path, QString& problem) const {
  std::vector<PredictedContact> contacts;
  for (int row = 0; row < filter_.rowCount(); ++row)
    contacts.push_back(model_.Contact(filter_.mapToSource(filter_.index(row, 0)).row()));
  std::stable_sort(contacts.begin(), contacts.end(),
                   [](const PredictedContact& a, const PredictedContact& b) {
                     return a.jdUT < b.jdUT;
                   });
  CalendarOptions options;
  options.stampUnixSeconds = QDateTime::currentSecsSinceEpoch();
  const CalendarDocument document = MakeCalendar(contacts, names_, site_, options);
  if (!document.problem.empty()) {
    problem = QString::fromStdString(document.problem);
    return false;
  }
  // Written under a temporary name and renamed when complete.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(document.text.data(), static_cast<qint64>(document.text.size())) !=
          static_cast<qint64>(document.text.size()) ||
      !file.commit()) {
    problem = file.errorString();
    return false;
  }
  return true;
}

void PredictionsWindow::ChooseCalendarFile() {
  const QString path =
      QFileDialog::getSaveFileName(this, tr("カレンダーに書き出し"), QStringLiteral("occultations.ics"),
                                   tr("iCalendar ファイル (*.ics)"));
  if (path.isEmpty()) return;
  QString problem;
  if (!ExportCalendar(path, problem))
    status_->setText(tr("%1 に書き出せませんでした: %2").arg(path, problem));
}

}  // namespace vernier
