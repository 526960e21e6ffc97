// What the desktop program's tests share: a data directory with a few
// element records across two files and a site list, a program state on it
// with a fixed "today", and helpers to paint a view and to answer the modal
// dialogs and message boxes a command opens.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "program/program_state.h"
#include "support/central_star.h"
#include "support/temp_data_dir.h"

// Readable QStrings in the tests' failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace vernier::testing {

inline const char kSiteList[] =
    "; test sites\n"
    "Tokyo,139.767,35.681,40,0\n"
    "Osaka,135.502,34.693,20,0\n"
    "Sapporo,141.354,43.062,20,0\n";

class AppTest : public ::testing::Test {
 protected:
  AppTest() {
    dir.Write("ecad22.PRN",
              FormatRecords({CentralStar(2026, 11, 1, 100, 1), CentralStar(2026, 12, 10, 200, 2),
                             CentralStar(2027, 1, 5, 300, 1), CentralStar(2200, 6, 1, 145, 2)}));
    dir.Write("ecad24.PRN",
              FormatRecords({CentralStar(2201, 2, 3, 400, 1), CentralStar(2300, 1, 1, 145, 1)}));
    dir.Write("location.new", kSiteList);
    state.SetDataDirectory(dir.path());
    state.outputDirectory = dir.path();
    state.cursor.file.messages = nullptr;
    state.today = [] { return CalendarDay{2026, 12, 7}; };
    // Each test starts as a first session: nothing kept by an earlier one.
    QSettings().clear();
  }

  TempDataDir dir;
  ProgramState state;
};

// Runs `handle` on the next modal widget of type T that opens (polling the
// event loop; gives up after about two seconds). The returned watch can be
// cancelled with StopWatching once the moment has passed.
template <typename T>
QPointer<QTimer> WhenModalOpens(std::function<void(T*)> handle) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, handle, tries] {
    if (auto* widget = dynamic_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      handle(widget);
    } else if (++*tries > 400) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(5);
  return timer;
}

// Does `act` and runs the event loop until `view` has painted again; false
// when no paint came within three seconds.
template <typename View, typename Act>
bool PaintsAfter(View* view, Act act) {
  const int paints = view->PaintCount();
  act();
  return QTest::qWaitFor([&] { return view->PaintCount() > paints; }, 3000);
}

// The window's command named `name` ("actionNext"), the action its menus and
// toolbar hold.
inline QAction* Command(const QObject& window, const char* name) {
  QAction* action = window.findChild<QAction*>(QLatin1String(name));
  EXPECT_NE(action, nullptr) << name;
  return action;
}

inline void StopWatching(QPointer<QTimer> watch) {
  if (watch) {
    watch->stop();
    watch->deleteLater();
  }
}

// Answers the next message box with OK and keeps its text in `text`.
inline QPointer<QTimer> CaptureNextMessage(QString* text) {
  return WhenModalOpens<QMessageBox>([text](QMessageBox* box) {
    *text = box->text();
    box->done(QMessageBox::Ok);
  });
}

}  // namespace vernier::testing
