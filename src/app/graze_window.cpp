#include "app/graze_window.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "local/graze_tracks.h"
#include "local/prediction_table.h"
#include "program/program_state.h"
#include "raster/raster_device_context.h"
#include "views/limb_command.h"

namespace vernier {
namespace {

QDoubleSpinBox* NumberEdit(QWidget* parent, double low, double high, double value, int decimals) {
  auto* edit = new QDoubleSpinBox(parent);
  edit->setRange(low, high);
  edit->setDecimals(decimals);
  edit->setValue(value);
  return edit;
}

}  // namespace

GrazeWindow::GrazeWindow(const BesselianElements& elements, double deltaT,
                         const ObserverSite& site, const std::string& body, QWidget* parent)
    : QDialog(parent), elements_(elements), deltaT_(deltaT), site_(site), body_(body) {
  setWindowTitle(tr("接食計画: %1").arg(QString::fromStdString(body)));
  using L = GrazeLimits;
  heightEdit_ = NumberEdit(this, L::kMinHeight, L::kMaxHeight,
                           std::clamp(site.height, L::kMinHeight, L::kMaxHeight), 0);
  stepEdit_ = NumberEdit(this, L::kMinStep, L::kMaxStep, request_.stepMinutes, 1);
  rowsEdit_ = new QSpinBox(this);
  rowsEdit_->setRange(L::kMinRows, L::kMaxRows);
  rowsEdit_->setValue(request_.rows);
  stationStepEdit_ =
      NumberEdit(this, L::kMinStationStep, L::kMaxStationStep, request_.stationStepMetres, 0);
  stationSpanEdit_ = NumberEdit(this, 0, L::kMaxStationSpan, request_.stationSpanMetres, 0);
  auto* computeButton = new QPushButton(tr("計算"), this);
  kmlButton_ = new QPushButton(tr("KML に書き出し..."), this);
  limbButton_ = new QPushButton(tr("月縁断面と観測点の経路..."), this);
  limbButton_->setEnabled(false);
  summary_ = new QLabel(this);
  summary_->setWordWrap(true);
  status_ = new QLabel(this);
  table_ = new QTableWidget(this);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->setColumnCount(12);
  table_->setHorizontalHeaderLabels({tr("経度"), tr("緯度"), tr("海面の経度"), tr("海面の緯度"),
                                     tr("移動 m"), tr("UT"), tr("太陽高度"), tr("月高度"),
                                     tr("月方位"), tr("PA"), tr("AA"), tr("CA")});

  auto* fields = new QHBoxLayout;
  fields->addWidget(new QLabel(tr("標高 m:"), this));
  fields->addWidget(heightEdit_);
  fields->addWidget(new QLabel(tr("間隔 ′:"), this));
  fields->addWidget(stepEdit_);
  fields->addWidget(new QLabel(tr("行数:"), this));
  fields->addWidget(rowsEdit_);
  fields->addWidget(new QLabel(tr("観測点の間隔 m:"), this));
  fields->addWidget(stationStepEdit_);
  fields->addWidget(new QLabel(tr("範囲 ± m:"), this));
  fields->addWidget(stationSpanEdit_);
  fields->addWidget(computeButton);
  fields->addStretch(1);
  fields->addWidget(limbButton_);
  fields->addWidget(kmlButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  layout->addWidget(status_);
  resize(1100, 460);
  connect(computeButton, &QPushButton::clicked, this, &GrazeWindow::Compute);
  connect(kmlButton_, &QPushButton::clicked, this, &GrazeWindow::ChooseKmlFile);
  connect(limbButton_, &QPushButton::clicked, this, &GrazeWindow::ShowLimbPicture);
}

void GrazeWindow::SetLimbSource(const DataDirectory& dataDirectory, const CurrentEvent& event) {
  dataDirectory_ = dataDirectory;
  event_ = event;
  limbSourceSet_ = true;
  limbButton_->setEnabled(plan_.problem.empty() && !plan_.rows.empty());
}

QImage GrazeWindow::LimbPicture() const {
  if (!limbSourceSet_ || !plan_.problem.empty() || plan_.rows.empty()) return {};
  ProgramState state;
  state.SetDataDirectory(dataDirectory_);
  state.cursor.elements = elements_;
  state.cursor.event = event_;
  state.navigation.eventDeltaT = deltaT_;
  state.site = request_.site;
  const GrazeStations stations = StationsNearObserver(plan_, request_.site.height);
  // The limb view's own size.
  QImage image(684, 520, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    RasterDeviceContext dc(image, 96);
    DrawLimbCommand(state, dc, ClientRect{0, 0, image.width(), image.height()}, nullptr,
                    &stations);
  }
  return image;
}

void GrazeWindow::ShowLimbPicture() {
  const QImage image = LimbPicture();
  if (image.isNull()) return;
  auto* dialog = new QDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(tr("月縁断面と観測点の経路: %1").arg(QString::fromStdString(body_)));
  auto* picture = new QLabel(dialog);
  picture->setPixmap(QPixmap::fromImage(image));
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(picture);
  dialog->show();
}

bool GrazeWindow::Compute() {
  request_.site = site_;
  request_.site.height = heightEdit_->value();
  request_.stepMinutes = stepEdit_->value();
  request_.rows = rowsEdit_->value();
  request_.stationStepMetres = stationStepEdit_->value();
  request_.stationSpanMetres = stationSpanEdit_->value();
  plan_ = PlanGraze(elements_, deltaT_, request_);
  table_->setRowCount(0);
  kmlButton_->setEnabled(plan_.problem.empty());
  limbButton_->setEnabled(limbSourceSet_ && plan_.problem.empty());
  if (!plan_.problem.empty()) {
    summary_->clear();
    status_->setText(QString::fromStdString(plan_.problem));
    return false;
  }
  const bool north = plan_.side > 0;
  const QString positive = plan_.latitudeSteps ? tr("東") : tr("北");
  const QString negative = plan_.latitudeSteps ? tr("西") : tr("南");
  QString text = tr("%1限界線（標高 %2 m に補正）、%3 %4′ 間隔。星が隠れるのは%5側。")
                     .arg(north ? tr("北") : tr("南"))
                     .arg(request_.site.height, 0, 'f', 0)
                     .arg(plan_.latitudeSteps ? tr("緯度") : tr("経度"))
                     .arg(request_.stepMinutes)
                     .arg(plan_.hiddenOnPositiveSide ? positive : negative);
  if (std::isfinite(plan_.observerOffsetMetres))
    text += tr(" 観測地は線の%1 %2 m。")
                .arg(plan_.observerOffsetMetres >= 0 ? positive : negative)
                .arg(std::fabs(plan_.observerOffsetMetres), 0, 'f', 0);
  summary_->setText(text);
  int row = 0;
  for (const GrazeRow& r : plan_.rows) {
    if (!r.found) continue;
    table_->insertRow(row);
    const UtStamp ut = FormatUt(r.jdUT);
    const QStringList cells = {QString::number(r.longitude, 'f', 5),
                               QString::number(r.latitude, 'f', 5),
                               QString::number(r.seaLongitude, 'f', 5),
                               QString::number(r.seaLatitude, 'f', 5),
                               QString::number(r.shiftMetres, 'f', 0),
                               QString::fromStdString(ut.date + " " + ut.time),
                               QString::number(r.sunAltitude, 'f', 1),
                               QString::number(r.moonAltitude, 'f', 1),
                               QString::number(r.moonAzimuth, 'f', 1),
                               QString::number(r.positionAngle, 'f', 1),
                               QString::number(r.axisAngle, 'f', 1),
                               QString::number(r.cuspAngle, 'f', 0) + QChar(r.cusp)};
    for (int column = 0; column < cells.size(); ++column)
      table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    ++row;
  }
  table_->resizeColumnsToContents();
  status_->setText(tr("%n 点", nullptr, row));
  return true;
}

bool GrazeWindow::ExportKml(const QString& path, QString& problem) const {
  if (!plan_.problem.empty() || plan_.rows.empty()) {
    problem = tr("計画がありません");
    return false;
  }
  const std::string kml = GrazeKml(plan_, request_, body_);
  // Written under a temporary name and renamed when complete.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(kml.data(), static_cast<qint64>(kml.size())) != static_cast<qint64>(kml.size()) ||
      !file.commit()) {
    problem = file.errorString();
    return false;
  }
  return true;
}

void GrazeWindow::ChooseKmlFile() {
  const QString path = QFileDialog::getSaveFileName(this, tr("KML に書き出し"),
                                                    QStringLiteral("graze.kml"),
                                                    tr("KML ファイル (*.kml)"));
  if (path.isEmpty()) return;
  QString problem;
  if (!ExportKml(path, problem))
    status_->setText(tr("%1 に書き出せませんでした: %2").arg(path, problem));
}

}  // namespace vernier
