#include "app/predictions_window.h"

#include <QDeadlineTimer>
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
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "app/timings_window.h"
#include "local/calendar_export.h"
#include "local/circumstances.h"
#include "local/prediction_table.h"

namespace vernier {
namespace {

constexpr int kNoMagnitudeLimit = 99;

}  // namespace

PredictionsModel::PredictionsModel(QObject* parent) : QAbstractTableModel(parent) {}

void PredictionsModel::SetContacts(std::vector<PredictedContact> contacts, const StarNames* names,
                                   std::shared_ptr<const StarCatalogue> catalogue) {
  beginResetModel();
  contacts_ = std::move(contacts);
  names_ = names;
  catalogue_ = std::move(catalogue);
  MakeRecords();
  // The contacts of one occultation (D and R, a planet's four) share its
  // number, counted in the order the occultations first appear.
  occultations_.clear();
  std::vector<std::tuple<double, double, double, double, double>> seen;
  for (const PredictedContact& c : contacts_) {
    const auto key = std::make_tuple(c.eventYear, c.eventMonth, c.eventDay, c.xz,
                                     static_cast<double>(c.recordIndex));
    auto at = std::find(seen.begin(), seen.end(), key);
    if (at == seen.end()) at = seen.insert(seen.end(), key);
    occultations_.push_back(static_cast<int>(at - seen.begin()) + 1);
  }
  endResetModel();
}

void PredictionsModel::SetTimeZone(const QTimeZone& zone) {
  zone_ = zone;
  const int column = PredictionFieldIndex("local_time");
  for (size_t row = 0; row < contacts_.size(); ++row)
    records_[row][column] = LocalTime(contacts_[row].jdUT).toStdString();
  if (!contacts_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void PredictionsModel::MakeRecords() {
  static const StarNames kNoNames;
  records_.clear();
  records_.reserve(contacts_.size());
  for (const PredictedContact& c : contacts_)
    records_.push_back(PredictionRecord(c, names_ ? *names_ : kNoNames, LocalTime(c.jdUT).toStdString(),
                                        catalogue_.get()));
}

QString PredictionsModel::LocalTime(double jdUT) const {
  const QDateTime time = QDateTime::fromSecsSinceEpoch(UnixSecondsOf(jdUT), zone_);
  return time.toString(Qt::ISODate);
}

QString PredictionsModel::ReadableLocalTime(double jdUT) const {
  const QDateTime time = QDateTime::fromSecsSinceEpoch(UnixSecondsOf(jdUT), zone_);
  return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + zone_.abbreviation(time);
}

QString PredictionsModel::ColumnTitle(const char* name) {
  static const std::pair<const char*, const char*> kTitles[] = {
      {"date", QT_TR_NOOP("日付 (UT)")},
      {"ut", QT_TR_NOOP("世界時")},
      {"local_time", QT_TR_NOOP("地方時")},
      {"kind", QT_TR_NOOP("現象")},
      {"body", QT_TR_NOOP("天体")},
      {"hip", QT_TR_NOOP("HIP")},
      {"sao", QT_TR_NOOP("SAO")},
      {"zc", QT_TR_NOOP("ZC")},
      {"xz", QT_TR_NOOP("XZ")},
      {"magnitude", QT_TR_NOOP("等級")},
      {"illuminated", QT_TR_NOOP("輝面 %")},
      {"limb", QT_TR_NOOP("周縁")},
      {"position_angle", QT_TR_NOOP("位置角")},
      {"axis_angle", QT_TR_NOOP("軸角")},
      {"cusp_angle", QT_TR_NOOP("カスプ角")},
      {"cusp", QT_TR_NOOP("カスプ")},
      {"altitude", QT_TR_NOOP("高度")},
      {"azimuth", QT_TR_NOOP("方位")},
      {"sun_altitude", QT_TR_NOOP("太陽高度")},
      {"daylight", QT_TR_NOOP("昼間")},
      {"graze_km", QT_TR_NOOP("接食 (km)")},
      {"star_id", QT_TR_NOOP("星の番号")},
      {"hd", QT_TR_NOOP("HD")},
      {"double_star", QT_TR_NOOP("二重星")},
      {"variable_star", QT_TR_NOOP("変光星")},
      {"a_min_per_deg", QT_TR_NOOP("A (分/度)")},
      {"b_min_per_deg", QT_TR_NOOP("B (分/度)")},
      {"rate_arcsec_per_s", QT_TR_NOOP("月縁の速さ (″/秒)")},
      {"contact_angle", QT_TR_NOOP("接触角")},
  };
  for (const auto& [key, title] : kTitles)
    if (std::strcmp(key, name) == 0) return tr(title);
  // A field without a title of its own shows its name.
  return QString::fromLatin1(name);
}

std::vector<std::string> PredictionsModel::Record(int row) const {
  return records_[row];
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
  if (role == Qt::DisplayRole && index.column() == PredictionFieldIndex("local_time"))
    return ReadableLocalTime(contacts_[index.row()].jdUT);
  // The limb in the reader's language (the export keeps "dark" and "bright").
  if (role == Qt::DisplayRole && index.column() == PredictionFieldIndex("limb"))
    return contacts_[index.row()].brightLimb ? PredictionsWindow::tr("明縁")
                                             : PredictionsWindow::tr("暗縁");
  const std::string& text = records_[index.row()][index.column()];
  // A star without a name shows its identifier ("HIP 68307", "Z3-406-92").
  if (role == Qt::DisplayRole && text.empty() && index.column() == PredictionFieldIndex("body"))
    return QString::fromStdString(records_[index.row()][PredictionFieldIndex("star_id")]);
  if (role == Qt::DisplayRole) return QString::fromStdString(text);
  // Sorting: the instant for the three time columns, numbers as numbers.
  const int column = index.column();
  if (column <= PredictionFieldIndex("local_time")) return contacts_[index.row()].jdUT;
  if (field.type == FieldType::Number) return text.empty() ? QVariant() : QVariant(std::stod(text));
  return QString::fromStdString(text);
}

QVariant PredictionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    // The occultation's number: D and R of one event show the same.
    if (section < 0 || section >= static_cast<int>(occultations_.size())) return {};
    if (role == Qt::DisplayRole) return occultations_[section];
    if (role == Qt::ToolTipRole) return tr("星蝕の番号：同じ番号の行は同じ星蝕の潜入と出現です");
    return {};
  }
  if (role == Qt::ToolTipRole) return QString::fromLatin1(PredictionFields()[section].name);
  if (role != Qt::DisplayRole) return {};
  return ColumnTitle(PredictionFields()[section].name);
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

QString SiteStandardZoneId(const ObserverSite& site) {
  return QString::fromStdString(StandardZoneId(site.longitude));
}

PredictionsWindow::PredictionsWindow(const DataDirectory& dataDirectory, const ObserverSite& site,
                                     const QString& siteName, QWidget* parent,
                                     const QString& zoneId)
    : QWidget(parent, Qt::Window),
      dataDirectory_(dataDirectory),
      site_(site),
      names_(StarNames::Shared(dataDirectory)),
      model_(this),
      filter_(this) {
  setWindowTitle(tr("観測地の星蝕予報"));
  BuildSpanControls(zoneId);
  BuildFilterControls();
  BuildTable();
  LayOut(siteName);
  Connect();
}

PredictionsWindow::~PredictionsWindow() {
  // The worker reads nothing of the window but its control; it stops at its
  // next step and is waited for, so that no thread outlives the window.
  if (control_) control_->cancel = true;
  watcher_.waitForFinished();
}

void PredictionsWindow::BuildSpanControls(const QString& zoneId) {
  fromEdit_ = new QDateEdit(QDate::currentDate(), this);
  fromEdit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  fromEdit_->setDateRange(QDate(1951, 1, 1), QDate(4000, 12, 31));
  daysEdit_ = new QSpinBox(this);
  daysEdit_->setRange(1, 36525);
  daysEdit_->setValue(365);
  depthEdit_ = new QDoubleSpinBox(this);
  depthEdit_->setRange(kElementFileMagnitudeLimit, kCatalogueMagnitudeLimit);
  depthEdit_->setDecimals(1);
  depthEdit_->setSingleStep(0.5);
  depthEdit_->setValue(kElementFileMagnitudeLimit);
  depthEdit_->setToolTip(
      tr("5.0 までは要素ファイルの星。それより暗い星の星蝕は星表と暦から求め、キャッシュに保存します"));
  zoneCombo_ = new QComboBox(this);
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
    zoneCombo_->addItem(QString::fromLatin1(id));
  // The observer's zone: the one chosen before, else the standard time of the
  // site's longitude; listed also when its id is not among the listed ones.
  QString observerZone = zoneId;
  if (observerZone.isEmpty() || !QTimeZone(observerZone.toLatin1()).isValid())
    observerZone = SiteStandardZoneId(site_);
  if (zoneCombo_->findText(observerZone) < 0) zoneCombo_->insertItem(0, observerZone);
  zoneCombo_->setCurrentIndex(zoneCombo_->findText(observerZone));
  model_.SetTimeZone(QTimeZone(observerZone.toLatin1()));
  computeButton_ = new QPushButton(tr("計算"), this);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 1000);
  progress_->setVisible(false);
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(100);
  cancelButton_ = new QPushButton(tr("中止"), this);
  cancelButton_->setVisible(false);
  status_ = new QLabel(this);
}

void PredictionsWindow::BuildFilterControls() {
  magnitudeEdit_ = new QDoubleSpinBox(this);
  magnitudeEdit_->setRange(-5, kNoMagnitudeLimit);
  magnitudeEdit_->setDecimals(1);
  magnitudeEdit_->setSingleStep(0.5);
  magnitudeEdit_->setValue(kNoMagnitudeLimit);
  magnitudeEdit_->setToolTip(tr("99：制限なし"));
  limbCombo_ = new QComboBox(this);
  limbCombo_->addItems({tr("両方"), tr("暗縁"), tr("明縁")});
  exportButton_ = new QPushButton(tr("CSV に書き出す..."), this);
  calendarButton_ = new QPushButton(tr("カレンダーに書き出し..."), this);
  timingsButton_ = new QPushButton(tr("観測結果の整約..."), this);
}

void PredictionsWindow::BuildTable() {
  filter_.setSourceModel(&model_);
  filter_.setSortRole(Qt::UserRole);
  table_ = new QTableView(this);
  table_->setModel(&filter_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(0, Qt::AscendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The row headers number the occultations: a D and its R share one.
  table_->verticalHeader()->setVisible(true);
}

void PredictionsWindow::LayOut(const QString& siteName) {
  auto* siteLabel = new QLabel(tr("観測地：%1  %2° %3, %4° %5, %6 m")
                                   .arg(siteName)
                                   .arg(std::fabs(site_.longitude), 0, 'f', 4)
                                   .arg(site_.longitude < 0 ? tr("W") : tr("E"))
                                   .arg(std::fabs(site_.latitude), 0, 'f', 4)
                                   .arg(site_.latitude < 0 ? tr("S") : tr("N"))
                                   .arg(site_.height, 0, 'f', 0),
                               this);
  auto* span = new QHBoxLayout;
  span->addWidget(new QLabel(tr("開始日 (UT)："), this));
  span->addWidget(fromEdit_);
  span->addWidget(new QLabel(tr("日数："), this));
  span->addWidget(daysEdit_);
  span->addWidget(new QLabel(tr("星の限界等級："), this));
  span->addWidget(depthEdit_);
  span->addWidget(new QLabel(tr("時間帯："), this));
  span->addWidget(zoneCombo_, 1);
  span->addWidget(computeButton_);
  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel(tr("等級の上限："), this));
  filters->addWidget(magnitudeEdit_);
  filters->addWidget(new QLabel(tr("周縁："), this));
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
}

void PredictionsWindow::Connect() {
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
    if (!zone.isValid()) return;
    model_.SetTimeZone(zone);
    emit ZoneChosen(id);
  });
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    const QModelIndex source = filter_.mapToSource(index);
    if (!source.isValid()) return;
    const PredictedContact& contact = model_.Contact(source.row());
    if (contact.listedRecord < 0 || contact.listedRecord >= static_cast<int>(listedRecords_.size()))
      return;
    emit EventChosen(contact, site_, listedRecords_[contact.listedRecord]);
  });
  connect(progressTimer_, &QTimer::timeout, this, [this] {
    if (control_) progress_->setValue(control_->permille.load());
  });
  connect(&watcher_, &QFutureWatcher<RunOutcome>::finished, this, &PredictionsWindow::FinishRun);
}

void PredictionsWindow::Compute() {
  // A new run replaces one still going: that one stops at once, unshown.
  if (runPending_) {
    Cancel();
    watcher_.waitForFinished();
    runPending_ = false;
    progressTimer_->stop();
  }
  PredictionRequest request;
  request.site = site_;
  const QDate from = fromEdit_->date();
  request.year = from.year();
  request.month = from.month();
  request.day = from.day();
  request.days = daysEdit_->value();
  // Above the element files' stars the rest of the catalogue is searched,
  // over a span the search can hold.
  const double depth = depthEdit_->value();
  const bool deep = depth > kElementFileMagnitudeLimit + 1e-9;
  if (deep) {
    request.maxMagnitude = depth;
    if (request.days > DeepSpanLimitDays(depth)) {
      status_->setText(tr("等級 %1 までの計算は %2 日までです。期間を短くするか、限界等級を明るくしてください。")
                           .arg(depth, 0, 'f', 1)
                           .arg(DeepSpanLimitDays(depth)));
      return;
    }
  }

  control_ = std::make_shared<RunControl>();
  runPending_ = true;
  computeButton_->setEnabled(false);
  progress_->setValue(0);
  progress_->setVisible(true);
  cancelButton_->setVisible(true);
  progressTimer_->start();
  status_->setText(deep ? tr("計算中（星表の星は暦から求めます）...") : tr("計算中..."));
  // The worker gets copies: the window may close while it runs.
  const std::shared_ptr<RunControl> control = control_;
  const DataDirectory data = dataDirectory_;
  DeepSearchSettings settings = deepSettings_;
  settings.cancel = &control->cancel;
  const std::shared_ptr<const StarCatalogue> known = catalogue_;
  watcher_.setFuture(QtConcurrent::run([=]() -> RunOutcome {
    RunOutcome outcome;
    const PredictionProgress progress = [control](double done) {
      control->permille = static_cast<int>(std::clamp(done, 0.0, 1.0) * 1000);
      return !control->cancel.load();
    };
    outcome.run = deep ? PredictAllOccultations(data, request, settings, progress)
                       : PredictOccultations(data, request, progress);
    // The HIP stars give the HD numbers and the notes; read once per window.
    outcome.catalogue = known;
    if (!outcome.catalogue && !control->cancel) {
      auto catalogue = std::make_shared<StarCatalogue>();
      std::string error;
      if (LoadStarCatalogue(settings.starDirectory, kCatalogueMagnitudeLimit, *catalogue, error,
                            false) == Status::Ok)
        outcome.catalogue = std::move(catalogue);
    }
    return outcome;
  }));
}

bool PredictionsWindow::WaitForRun(int milliseconds) {
  if (!runPending_) return true;
  QDeadlineTimer deadline(milliseconds);
  while (watcher_.isRunning() && !deadline.hasExpired())
    QThread::msleep(5);
  if (watcher_.isRunning()) return false;
  FinishRun();
  return true;
}

void PredictionsWindow::Cancel() {
  if (control_) control_->cancel = true;
}

void PredictionsWindow::FinishRun() {
  // Once per run: WaitForRun may have shown it before the watcher's signal.
  if (!runPending_) return;
  runPending_ = false;
  progressTimer_->stop();
  RunOutcome outcome = watcher_.result();
  const PredictionRun& run = outcome.run;
  progress_->setVisible(false);
  cancelButton_->setVisible(false);
  computeButton_->setEnabled(true);
  if (outcome.catalogue) catalogue_ = outcome.catalogue;
  listedRecords_ = run.listedRecords;
  model_.SetContacts(run.contacts, &names_, catalogue_);
  table_->resizeColumnsToContents();

  runNote_.clear();
  if (run.cancelled) runNote_ += tr("（中止しました）");
  if (!run.missingFile.empty())
    runNote_ += tr("（要素ファイル %1 がありません）").arg(QString::fromStdString(run.missingFile));
  if (!run.unreadable.empty())
    runNote_ += tr("。%1。一覧はここで終わります").arg(QString::fromStdString(run.unreadable));
  if (!run.problem.empty()) runNote_ += tr("。%1").arg(QString::fromStdString(run.problem));
  runFinished_ = true;
  ShowCount();
  emit Computed();
}

void PredictionsWindow::ShowCount() {
  if (!runFinished_) return;
  const int all = model_.rowCount(), shown = filter_.rowCount();
  QString text;
  if (all == 0)
    text = runNote_.isEmpty() ? tr("星蝕は見つかりませんでした。") : QString();
  else if (shown == all)
    text = tr("%n 件の接触", nullptr, all);
  else
    text = tr("%1 件を表示（全 %2 件）").arg(shown).arg(all);
  status_->setText(text + runNote_);
}

void PredictionsWindow::ApplyFilter() {
  const int limb = limbCombo_->currentIndex();
  filter_.SetFilter(magnitudeEdit_->value(), static_cast<PredictionsFilter::Limb>(limb));
  ShowCount();
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
      this, tr("予報の書き出し"), QStringLiteral("predictions.csv"), tr("CSV ファイル (*.csv)"));
  if (path.isEmpty()) return;
  if (!ExportCsv(path)) status_->setText(tr("%1 に書き込めませんでした").arg(path));
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
