#include "app/band_builder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>
#include <cmath>

namespace vernier {

namespace {

constexpr char kGeneratorName[] = "vernier-canon";
constexpr qsizetype kErrorTailBytes = 2000;

QString FormatTimeLeft(double seconds) {
  const long s = std::lround(seconds);
  if (s >= 3600) return BandBuildDialog::tr("%1 時間 %2 分").arg(s / 3600).arg(s / 60 % 60);
  if (s >= 60) return BandBuildDialog::tr("%1 分 %2 秒").arg(s / 60).arg(s % 60);
  return BandBuildDialog::tr("%1 秒").arg(s);
}

}  // namespace

QString FindBandGenerator(const QString& programDirectory) {
  const QString name = QLatin1String(kGeneratorName);
  for (const QString& candidate : {programDirectory + QLatin1Char('/') + name,
                                   programDirectory + QLatin1String("/tools/canon/") + name}) {
    const QFileInfo file(candidate);
    if (file.isFile() && file.isExecutable()) return file.absoluteFilePath();
  }
  return QStandardPaths::findExecutable(name);
}

QString BandGenerator() {
  if (qEnvironmentVariableIsSet("VERNIER_CANON")) return qEnvironmentVariable("VERNIER_CANON");
  return FindBandGenerator(QCoreApplication::applicationDirPath());
}

std::optional<BandProgress> ParseBandProgress(const QByteArray& line) {
  const QList<QByteArray> words = line.simplified().split(' ');
  if (words.size() != 4 || words[0] != "progress") return std::nullopt;
  BandProgress p;
  bool ok[3];
  p.done = words[1].toLong(&ok[0]);
  p.total = words[2].toLong(&ok[1]);
  p.events = words[3].toLong(&ok[2]);
  if (!ok[0] || !ok[1] || !ok[2] || p.done < 0 || p.total < p.done || p.events < 0)
    return std::nullopt;
  return p;
}

BandBuildDialog::BandBuildDialog(const QString& program, const QStringList& arguments,
                                 const QString& bandName, QWidget* parent)
    : QProgressDialog(parent), process_(new QProcess(this)), bandName_(bandName) {
  setObjectName(QStringLiteral("bandBuildDialog"));
  setWindowTitle(tr("要素ファイルの作成"));
  setCancelButtonText(tr("中止"));
  setAutoClose(false);
  setAutoReset(false);
  setMinimumDuration(0);
  setRange(0, 0);
  process_->setProgram(program);
  process_->setArguments(arguments);
  connect(process_, &QProcess::readyReadStandardOutput, this, &BandBuildDialog::ReadProgress);
  connect(process_, &QProcess::readyReadStandardError, this, [this] {
    errorTail_ = (errorTail_ + process_->readAllStandardError()).right(kErrorTailBytes);
  });
  connect(process_, &QProcess::finished, this, &BandBuildDialog::OnFinished);
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    failure_ = tr("%1 を起動できませんでした。").arg(process_->program());
    reject();
  });
  // Instead of QProgressDialog's own reset.
  disconnect(this, &QProgressDialog::canceled, this, &QProgressDialog::cancel);
  connect(this, &QProgressDialog::canceled, this, &BandBuildDialog::OnCanceled);
  ShowProgress();
}

BandBuildDialog::~BandBuildDialog() {
  if (process_->state() != QProcess::NotRunning) {
    process_->kill();
    process_->waitForFinished(3000);
  }
}

void BandBuildDialog::Start() {
  // Started from the dialog's event loop, so that even a failure to start
  // ends a running exec().
  QMetaObject::invokeMethod(
      this,
      [this] {
        clock_.start();
        process_->start();
      },
      Qt::QueuedConnection);
}

void BandBuildDialog::ReadProgress() {
  while (process_->canReadLine())
    if (const auto p = ParseBandProgress(process_->readLine())) progress_ = *p;
  ShowProgress();
}

void BandBuildDialog::ShowProgress() {
  QString left = tr("計算中");
  if (progress_.done > 0 && clock_.isValid())
    left = FormatTimeLeft(clock_.elapsed() / 1000.0 * (progress_.total - progress_.done) /
                          progress_.done);
  setLabelText(tr("%1 を作成しています。\n見つかった星蝕: %2\n残り時間: %3")
                   .arg(bandName_)
                   .arg(progress_.events)
                   .arg(left));
  if (progress_.total > 0) {
    setRange(0, static_cast<int>(progress_.total));
    setValue(static_cast<int>(progress_.done));
  }
}

void BandBuildDialog::OnCanceled() {
  cancelled_ = true;
  if (process_->state() != QProcess::NotRunning) process_->kill();
  reject();
}

void BandBuildDialog::OnFinished(int exitCode, QProcess::ExitStatus status) {
  if (cancelled_) return;
  if (status == QProcess::NormalExit && exitCode == 0) {
    accept();
    return;
  }
  failure_ = tr("%1 の作成に失敗しました。\n%2")
                 .arg(bandName_, QString::fromLocal8Bit(errorTail_).trimmed());
  reject();
}

bool BandBuildDialog::OfferToBuild(QWidget* parent, const std::string& dataDirectory,
                                   const MissingBand& band) {
  const QString generator = BandGenerator();
  if (generator.isEmpty()) return false;
  const QString name = QString::fromStdString(band.fileName);
  if (QMessageBox::question(
          parent, tr("要素ファイルの作成"),
          tr("%1 年の要素ファイル (%2) がありません。作成しますか？").arg(band.year).arg(name)) !=
      QMessageBox::Yes)
    return false;
  BandBuildDialog dialog(
      generator,
      {QStringLiteral("--band"), name, QStringLiteral("--out"),
       QString::fromStdString(dataDirectory), QStringLiteral("--progress-lines")},
      name, parent);
  dialog.Start();
  if (dialog.exec() == QDialog::Accepted) return true;
  if (!dialog.Failure().isEmpty())
    QMessageBox::warning(parent, tr("要素ファイルの作成"), dialog.Failure());
  return false;
}

}  // namespace vernier
