// The program's commands: their object names ("actionNext"), menu labels, prompts (status-bar line,
// then tooltip after a line break), shortcuts and toolbar icons, created in
// one place. Menus, toolbar and the frames only arrange these actions.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <array>

namespace vernier {

// The status-bar line of a prompt (its first line) and the tooltip (its
// second line; empty when the prompt has none).
QString PromptStatusText(const QString& prompt);
QString PromptToolTip(const QString& prompt);

struct AppActions {
  Q_DECLARE_TR_FUNCTIONS(AppActions)

 public:
  explicit AppActions(QObject* owner);

  // Framework commands of the application and the document.
  QAction* fileNew;
  QAction* fileOpen;
  QAction* fileSave;
  QAction* printSetup;
  QAction* exit;
  std::array<QAction*, 4> recentFiles;  // the recent-file list, hidden while unused
  QAction* recentPlaceholder;  // "最近使ったﾌｧｲﾙ", greyed while the list is empty
  QAction* toolBar;
  QAction* statusBar;
  QAction* about;        // the view's Help menu
  QAction* aboutNoView;  // the same command in the menu shown while no view is open
  QAction* guide;        // the user guide (both Help menus)

  // Commands of the view.
  QAction* date;
  QAction* displayMode;
  QAction* searchMode;
  QAction* next;      // Right, Page Down
  QAction* previous;  // Left, Page Up
  QAction* today;     // Home
  QAction* redraw;    // F5
  QAction* list;
  QAction* zoomIn;   // +
  QAction* zoomOut;  // -
  QAction* zoomReset;
  QAction* local;
  QAction* backToMap;
  QAction* sky;
  QAction* limb;
  QAction* predictions;   // the predictions window for the observer
  QAction* graze;         // the graze plan of the event for the observer
  QAction* print;         // Ctrl+P
  QAction* printPreview;  // Ctrl+F2

  // The actions that need a view to act on.
  std::array<QAction*, 17> ViewActions() const;
};

}  // namespace vernier
