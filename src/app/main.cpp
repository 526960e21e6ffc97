// vernier: the desktop program. One main window with one view of the
// program's state; the settings of the last session are taken up at start.
//
//   vernier [--data DIR] [--lang ja|en]
//
// The data directory holds the element files, the site list and the
// coastline files: DIR, else $VERNIER_DATA, else the one of the last
// session (when one was given then), else the working directory when it
// holds data, else the user's and the installed data (ResolveDataDirectory).
// The texts are Japanese for a Japanese locale and English for any other,
// unless --lang names the language.
// With VERNIER_TIMING set, the time from start to the first painted window is
// printed on standard error.
#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/icons.h"
#include "app/main_window.h"
#include "app/session_settings.h"
#include "base/data_directory.h"
#include "program/program_state.h"
#include "translation/translations.h"

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  const vernier::LanguageOption language = vernier::TakeLanguageOption(argc, argv);
  if (!language.error.empty()) {
    std::fprintf(stderr, "vernier: %s\n", language.error.c_str());
    return 2;
  }
  QApplication app(argc, argv);
  vernier::UseLanguage(vernier::ChosenLanguage(language));
  vernier::UseProgramIdentity();
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(vernier::ProgramMark(size));
  QApplication::setWindowIcon(icon);

  std::optional<std::string> dataDirectory;
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--data") && i + 1 < args.size()) {
      dataDirectory = args[++i].toStdString();
    } else if (arg.startsWith(QLatin1String("--data="))) {
      dataDirectory = arg.mid(7).toStdString();
    } else {
      std::fprintf(stderr, "%s\n",
                   qPrintable(QCoreApplication::translate(
                       "DesktopProgram", "使い方: vernier [--data DIR] [--lang ja|en]")));
      return arg == QLatin1String("--help") ? 0 : 2;
    }
  }

  if (!dataDirectory && !std::getenv("VERNIER_DATA")) {
    QSettings settings;
    const QString remembered = vernier::RememberedDataDirectory(settings);
    if (!remembered.isEmpty()) dataDirectory = remembered.toStdString();
  }
  vernier::ProgramState state;
  state.SetDataDirectory(vernier::ResolveDataDirectory(dataDirectory));

  vernier::MainWindow mainWindow(state);
  mainWindow.ReportFirstPaintSince(start);
  mainWindow.NewDocument();
  mainWindow.show();
  return app.exec();
}
