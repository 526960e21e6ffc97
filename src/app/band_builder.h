// Building a missing band of element files from the program. The generator
// (vernier-canon) runs as a separate process, so the window stays responsive
// and a cancel simply ends the process; its "progress DONE TOTAL EVENTS"
// lines drive a progress dialog. The generator writes the band under a
// temporary name and renames it when complete, so a cancelled build leaves no
// file under the band's name.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QProgressDialog>
#include <optional>
#include <string>

#include "program/missing_band.h"

namespace vernier {

// The generator beside the program in `programDirectory`, in the build tree
// below it (tools/canon/), or in PATH; empty when it is not installed.
QString FindBandGenerator(const QString& programDirectory);

// The generator the program runs: the environment variable VERNIER_CANON when
// it is set (empty: none), else FindBandGenerator of the program's directory.
QString BandGenerator();

// One "progress DONE TOTAL EVENTS" line of the generator (years done, years
// to do, events found); none for any other line.
struct BandProgress {
  long done = 0, total = 0, events = 0;
};
std::optional<BandProgress> ParseBandProgress(const QByteArray& line);

class BandBuildDialog : public QProgressDialog {
  Q_OBJECT

 public:
  // Runs `program` with `arguments` once Start is called; `bandName` names
  // the band in the texts.
  BandBuildDialog(const QString& program, const QStringList& arguments, const QString& bandName,
                  QWidget* parent = nullptr);
  ~BandBuildDialog() override;

  // Starts the generator once the event loop runs; exec() then returns Accepted when it finished
  // well, Rejected when it failed (Failure() says why) or was cancelled.
  void Start();
  const QString& Failure() const { return failure_; }
  long EventsFound() const { return progress_.events; }

  // Asks the user whether to build `band` into `dataDirectory` and builds it
  // with BandGenerator() (no question without one). True when the band was built.
  static bool OfferToBuild(QWidget* parent, const std::string& dataDirectory,
                           const MissingBand& band);

 private:
  void ReadProgress();
  void OnFinished(int exitCode, QProcess::ExitStatus status);
  void OnCanceled();
  void ShowProgress();

  QProcess* process_;
  QString bandName_;
  QElapsedTimer clock_;
  BandProgress progress_;
  QString failure_;
  QByteArray errorTail_;  // the end of the generator's standard error
  bool cancelled_ = false;
};

}  // namespace vernier
