// The main window: the MDI area with the child windows of the views, the
// menus (one set while no view is open, the view's set otherwise), the
// toolbar, the status bar, and the application's and documents' commands.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <chrono>
#include <memory>
#include <optional>

#include "app/actions.h"
#include "program/program_state.h"

namespace vernier {

class DocumentWindow;
class OccultationView;
class PredictionsWindow;

// The share of the screen's width and height the main window takes when it
// opens without a kept size and place (centred on the screen).
inline constexpr double kMainWindowScreenShare = 0.8;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Takes the settings kept from the last session into `state` (see
  // RestoreSession) and its own kept size and place; closing keeps them again.
  explicit MainWindow(ProgramState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The documents' commands. Open reads the document into the program's
  // settings (a file that is not one is refused with a message); Save writes
  // them to the document's file, asking for a name while it has none.
  DocumentWindow* NewDocument();
  DocumentWindow* OpenDocument(const QString& path);
  void SaveDocument();
  bool SaveDocumentAs(DocumentWindow* child, const QString& path);
  void OnFileOpen();
  // Opens the predictions window for the active view's observer.
  void OnPredictions();
  PredictionsWindow* Predictions() const;
  // Opens the graze window for the active view's event and observer.
  void OnGraze();
  void OnAbout();
  void OnPrintSetup();

  // The view of the current child window, if any.
  OccultationView* ActiveView() const;
  QMdiArea* MdiArea() const { return mdiArea_; }
  const AppActions& Actions() const { return *actions_; }
  QToolBar* ToolBar() const { return toolBar_; }
  QLabel* ReadyPane() const { return readyPane_; }
  const QStringList& RecentFiles() const { return recentFiles_; }
  // True while the view's menus are shown (a view is open).
  bool ShowsViewMenus() const { return showsViewMenus_; }

  // The first view reports its first paint (see OccultationView).
  void ReportFirstPaintSince(std::chrono::steady_clock::time_point start) { startTime_ = start; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QPointer<PredictionsWindow> predictionsWindow_;
  void CreateToolBar();
  void CreateStatusBar();
  void CreateMenus();
  void ConnectCommands();
  void UpdateMenus();
  // Greys the view commands that would do nothing now, with the reason as
  // their tooltip and status line.
  void UpdateCommandStates();
  void PlaceOnScreen();
  DocumentWindow* AddChild(const QString& title, const QString& path);
  void AddRecentFile(const QString& path);
  void LoadRecentFiles();
  void UpdateRecentFileActions();

  ProgramState& state_;
  std::unique_ptr<AppActions> actions_;
  QMdiArea* mdiArea_;
  QToolBar* toolBar_ = nullptr;
  QLabel* readyPane_ = nullptr;
  // Menus shown while no view is open, and the view's.
  QMenu *fileMenu128_, *viewMenu128_, *helpMenu128_;
  QMenu *fileMenu129_, *viewMenu129_, *helpMenu129_;
  bool showsViewMenus_ = false;
  QStringList recentFiles_;
  int untitledCount_ = 0;
  std::unique_ptr<QPrinter> printer_;
  std::optional<std::chrono::steady_clock::time_point> startTime_;
};

}  // namespace vernier
