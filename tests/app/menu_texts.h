// The texts of the main window's menu bar and of one of its menus, as a user
// reads them (separators as "-", hidden entries left out).
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

#include "app/main_window.h"

namespace vernier::testing {

inline QStringList MenuBarTexts(MainWindow& mainWindow) {
  QStringList texts;
  for (QAction* action : mainWindow.menuBar()->actions()) texts << action->text();
  return texts;
}

inline QStringList MenuTexts(MainWindow& mainWindow, const QString& title) {
  QStringList texts;
  for (QAction* top : mainWindow.menuBar()->actions())
    if (top->text() == title && top->menu())
      for (QAction* action : top->menu()->actions())
        if (action->isVisible()) texts << (action->isSeparator() ? "-" : action->text());
  return texts;
}

}  // namespace vernier::testing
