// The desktop program's tests run on Qt's offscreen platform with one
// application object for all of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Settings (the recent-file list) go to a test location, not the user's.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vernier-app-tests"));
  QApplication::setOrganizationName(QStringLiteral("vernier-tests"));
  QSettings().clear();  // no recent files left from an earlier run
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
