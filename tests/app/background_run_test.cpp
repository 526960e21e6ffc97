// Long work off the window's thread: progress and result arrive on the
// window's thread while its event loop keeps running, a cancel ends the work
// with what it found, and a window closed during the work waits for it.
#include "app/background_run.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

namespace vernier {
namespace {

// Counts up, a millisecond a step, reporting each step, until `steps` or a cancel.
struct Counting {
  int steps;
  std::atomic<bool>* started = nullptr;
  int operator()(const ProgressReport& report) const {
    if (started) started->store(true);
    int done = 0;
    while (done < steps) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      ++done;
      if (!report(static_cast<double>(done) / steps)) break;
    }
    return done;
  }
};

TEST(BackgroundRun, ProgressAndResultArriveOnTheWindowsThreadWhileItsLoopRuns) {
  BackgroundRun run;
  QSignalSpy progress(&run, &BackgroundRun::progress);
  bool progressOnUiThread = true;
  QObject::connect(&run, &BackgroundRun::progress, [&] {
    progressOnUiThread = progressOnUiThread && QThread::currentThread() == qApp->thread();
  });
  // The event loop is free while the work runs: a timer fires meanwhile.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(5);

  int result = -1;
  QThread* resultThread = nullptr;
  ASSERT_TRUE(run.Start<int>(Counting{200}, [&](int done) {
    result = done;
    resultThread = QThread::currentThread();
  }));
  EXPECT_TRUE(run.Running());
  // A second start while the first goes is refused.
  EXPECT_FALSE(run.Start<int>(Counting{1}, [](int) {}));
  EXPECT_EQ(result, -1);  // nothing arrives before the loop runs

  QSignalSpy finished(&run, &BackgroundRun::finished);
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(result, 200);
  EXPECT_EQ(resultThread, qApp->thread());
  EXPECT_FALSE(run.Running());
  EXPECT_GT(ticks, 5);
  ASSERT_FALSE(progress.isEmpty());
  EXPECT_TRUE(progressOnUiThread);
  // Every report was queued before the result: all have arrived.
  EXPECT_DOUBLE_EQ(progress.last().at(0).toDouble(), 1.0);

  // The run can be started again once it has finished.
  EXPECT_TRUE(run.Start<int>(Counting{3}, [&](int done) { result = done; }));
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(result, 3);
}

TEST(BackgroundRun, ACancelEndsTheWorkWithWhatItFound) {
  BackgroundRun run;
  std::atomic<bool> started = false;
  int result = -1;
  ASSERT_TRUE(run.Start<int>(Counting{1000000, &started}, [&](int done) { result = done; }));
  ASSERT_TRUE(QTest::qWaitFor([&] { return started.load(); }, 5000));
  QTimer::singleShot(30, &run, [&run] { run.Cancel(); });
  QSignalSpy finished(&run, &BackgroundRun::finished);
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_GT(result, 0);
  EXPECT_LT(result, 1000000);
}

TEST(BackgroundRun, AWindowClosedDuringTheWorkWaitsForItAndGetsNoResult) {
  std::atomic<bool> started = false;
  bool delivered = false;
  {
    BackgroundRun run;
    ASSERT_TRUE(run.Start<int>(Counting{1000000, &started}, [&](int) { delivered = true; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.load(); }, 5000));
  }  // cancelled and waited for here
  QCoreApplication::processEvents();
  EXPECT_FALSE(delivered);
}

}  // namespace
}  // namespace vernier
