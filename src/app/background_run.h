// Long work off the window's thread. The work runs on Qt's thread pool
// (QtConcurrent) with a progress callback: it reports the fraction done and
// learns whether it should stop. The progress and the result reach the
// window's thread through its event loop, so the window stays responsive and
// draws the progress as it comes, and a cancel ends the work at its next
// report with what it found so far.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <functional>
#include <memory>

namespace vernier {

// The callback a work gets: called with the fraction done (0..1); false once
// the run is cancelled, when the work should end and return what it has.
using ProgressReport = std::function<bool(double)>;

class BackgroundRun : public QObject {
  Q_OBJECT

 public:
  explicit BackgroundRun(QObject* parent = nullptr) : QObject(parent) {}
  // A run still going is cancelled and waited for.
  ~BackgroundRun() override;

  // Starts `work` (called as work(report) on a pool thread, returning a
  // Result) unless a run is going; `done` gets the result on this object's
  // thread. False when a run was already going.
  template <typename Result, typename Work, typename Done>
  bool Start(Work work, Done done);

  // Asks the work to stop at its next report; its result still arrives.
  void Cancel();
  bool Running() const { return running_; }
  // Waits for the work to end (its result is then delivered by the event loop).
  void Wait();

 signals:
  // The fraction done, as the work last reported it.
  void progress(double done);
  // After `done` has run.
  void finished();

 private:
  void Report(double done);

  bool running_ = false;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  QFuture<void> future_;  // the run going (none when idle)
};

template <typename Result, typename Work, typename Done>
bool BackgroundRun::Start(Work work, Done done) {
  if (running_) return false;
  running_ = true;
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  auto* watcher = new QFutureWatcher<Result>(this);
  connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done] {
    running_ = false;
    future_ = {};
    watcher->deleteLater();
    done(watcher->result());
    emit finished();
  });
  const auto cancelled = cancelled_;
  // The object outlives the work: its destructor waits for it.
  const QFuture<Result> future = QtConcurrent::run([this, work, cancelled] {
    return work(ProgressReport([this, cancelled](double done) {
      Report(done);
      return !cancelled->load();
    }));
  });
  future_ = QFuture<void>(future);
  watcher->setFuture(future);
  return true;
}

}  // namespace vernier
