#include "app/timings_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>
#include <fstream>

#include "local/prediction_table.h"
#include "sky/star_names.h"

namespace vernier {

TimingsWindow::TimingsWindow(const DataDirectory& dataDirectory, QWidget* parent)
    : QDialog(parent), dataDirectory_(dataDirectory) {
  setWindowTitle(tr("観測結果の整約"));
  openButton_ = new QPushButton(tr("観測時刻ファイルを開く..."), this);
  exportButton_ = new QPushButton(tr("CSV に書き出し..."), this);
  exportButton_->setEnabled(false);
  status_ = new QLabel(tr("date,utc,kind,star,lon,lat,height の見出しを持つ CSV ファイルを開いてください。"),
                       this);
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  table_ = new QTableWidget(this);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  QStringList headers;
  for (const ReductionField& field : ReductionFields()) headers << QString::fromLatin1(field.name);
  table_->setColumnCount(headers.size());
  table_->setHorizontalHeaderLabels(headers);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(openButton_);
  buttons->addStretch(1);
  buttons->addWidget(exportButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(table_, 1);
  layout->addWidget(status_);
  resize(1100, 420);
  connect(openButton_, &QPushButton::clicked, this, &TimingsWindow::ChooseFile);
  connect(exportButton_, &QPushButton::clicked, this, &TimingsWindow::ChooseExportFile);
}

bool TimingsWindow::Load(const QString& path) {
  reduced_.clear();
  table_->setRowCount(0);
  exportButton_->setEnabled(false);
  std::ifstream in(path.toStdString(), std::ios::binary);
  if (!in) {
    status_->setText(tr("%1 を読めません").arg(path));
    return false;
  }
  const TimingsReduction result =
      ReduceTimingsFile(in, dataDirectory_, StarNames::Shared(dataDirectory_));
  if (!result.problems.empty()) {
    QStringList lines;
    for (const std::string& problem : result.problems) lines << QString::fromStdString(problem);
    status_->setText(tr("整約できません（%1）:\n%2").arg(path, lines.join('\n')));
    return false;
  }
  reduced_ = result.reduced;
  table_->setRowCount(static_cast<int>(reduced_.size()));
  const auto& fields = ReductionFields();
  for (int row = 0; row < static_cast<int>(reduced_.size()); ++row) {
    const std::vector<std::string> record = ReductionRecord(reduced_[row]);
    for (int column = 0; column < static_cast<int>(record.size()); ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdString(record[column]));
      if (fields[column].number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, column, item);
    }
  }
  table_->resizeColumnsToContents();
  exportButton_->setEnabled(!reduced_.empty());
  status_->setText(reduced_.empty() ? tr("%1 に観測時刻がありません").arg(path)
                                    : tr("%n 件を整約しました", nullptr,
                                         static_cast<int>(reduced_.size())));
  return !reduced_.empty();
}

bool TimingsWindow::ExportCsv(const QString& path, QString& problem) const {
  std::vector<std::string> header;
  for (const ReductionField& field : ReductionFields()) header.push_back(field.name);
  std::string text = CsvLine(header) + "\n";
  for (const ReducedTiming& r : reduced_) text += CsvLine(ReductionRecord(r)) + "\n";
  // Written under a temporary name and renamed when complete.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    problem = file.errorString();
    return false;
  }
  return true;
}

void TimingsWindow::ChooseFile() {
  const QString path = QFileDialog::getOpenFileName(this, tr("観測時刻ファイルを開く"), QString(),
                                                    tr("CSV ファイル (*.csv);;すべてのファイル (*)"));
  if (!path.isEmpty()) Load(path);
}

void TimingsWindow::ChooseExportFile() {
  const QString path = QFileDialog::getSaveFileName(this, tr("CSV に書き出し"),
                                                    QStringLiteral("reduced.csv"),
                                                    tr("CSV ファイル (*.csv)"));
  if (path.isEmpty()) return;
  QString problem;
  if (!ExportCsv(path, problem))
    status_->setText(tr("%1 に書き出せませんでした: %2").arg(path, problem));
}

}  // namespace vernier
