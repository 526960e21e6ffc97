// The desktop program's tests run on Qt's offscreen platform with one
// application object for all of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Settings go to a directory of this run alone: never the user's, and never
  // those of a test process running beside this one.
  char configDirectory[] = "/tmp/vernier-app-tests-XXXXXX";
  if (!mkdtemp(configDirectory)) return 1;
  setenv("XDG_CONFIG_HOME", configDirectory, 1);
  // No offer to build a missing band unless a test asks for one.
  setenv("VERNIER_CANON", "", 1);
  int status;
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vernier-app-tests"));
    QApplication::setOrganizationName(QStringLiteral("vernier-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  std::filesystem::remove_all(configDirectory, ignored);
  return status;
}
