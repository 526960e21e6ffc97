#include "app/background_run.h"

#include <QMetaObject>

namespace vernier {

BackgroundRun::~BackgroundRun() {
  Cancel();
  Wait();
}

void BackgroundRun::Cancel() {
  if (cancelled_) cancelled_->store(true);
}

void BackgroundRun::Wait() {
  if (future_.isValid()) future_.waitForFinished();
}

void BackgroundRun::Report(double done) {
  // Called on the work's thread: the signal is emitted on this object's.
  QMetaObject::invokeMethod(this, [this, done] { emit progress(done); }, Qt::QueuedConnection);
}

}  // namespace vernier
