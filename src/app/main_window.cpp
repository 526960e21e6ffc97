#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaObject>
#include <QPageSetupDialog>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolButton>

#include "app/about_dialog.h"
#include "app/command_availability.h"
#include "app/data_exchange.h"
#include "app/document.h"
#include "app/document_window.h"
#include "app/graze_window.h"
#include "app/icons.h"
#include "app/occultation_view.h"
#include "app/predictions_window.h"
#include "app/session_settings.h"
#include "local/prediction_table.h"
#include "program/navigation.h"
#include "sky/star_names.h"

namespace vernier {

namespace {

constexpr int kRecentFileCount = 4;
const char kRecentFileGroup[] = "Recent File List";
const char kGeometryKey[] = "window/geometry";

}  // namespace

MainWindow::MainWindow(ProgramState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), actions_(std::make_unique<AppActions>(this)) {
  setWindowTitle(QStringLiteral("Vernier"));
  mdiArea_ = new QMdiArea(this);
  mdiArea_->setBackground(QColor(128, 128, 128));
  setCentralWidget(mdiArea_);

  CreateToolBar();
  CreateStatusBar();
  CreateMenus();
  ConnectCommands();
  setDockOptions(dockOptions() | QMainWindow::AnimatedDocks);

  LoadRecentFiles();
  UpdateMenus();
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] { UpdateMenus(); });

  QSettings settings;
  RestoreSession(settings, state_);
  PlaceOnScreen();
}

void MainWindow::PlaceOnScreen() {
  QSettings settings;
  if (restoreGeometry(settings.value(QLatin1String(kGeometryKey)).toByteArray())) return;
  const QRect screenArea = screen()->availableGeometry();
  resize(QSize(screenArea.width(), screenArea.height()) * kMainWindowScreenShare);
  move(screenArea.center() - rect().center());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  QSettings settings;
  SaveSession(settings, state_);
  settings.setValue(QLatin1String(kGeometryKey), saveGeometry());
  QMainWindow::closeEvent(event);
}

MainWindow::~MainWindow() {
  // The predictions window is a window of its own: it goes with this one.
  delete predictionsWindow_.data();
  // The views go first: their list dialogs belong to this window.
  for (QMdiSubWindow* child : mdiArea_->subWindowList()) delete child;
}

void MainWindow::CreateToolBar() {
  toolBar_ = new QToolBar(tr("ﾂｰﾙ ﾊﾞｰ"), this);
  toolBar_->setObjectName(QStringLiteral("mainToolBar"));
  toolBar_->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
  toolBar_->setMovable(true);
  toolBar_->setFloatable(true);
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  const AppActions& a = *actions_;
  const QList<QAction*> buttons[] = {{a.previous, a.next, a.list, a.predictions},
                                     {a.zoomIn, a.zoomOut, a.zoomReset},
                                     {a.local, a.backToMap, a.sky, a.limb, a.about}};
  bool first = true;
  for (const QList<QAction*>& group : buttons) {
    if (!first) toolBar_->addSeparator();
    first = false;
    for (QAction* action : group) {
      toolBar_->addAction(action);
      // Buttons whose prompt has no second line show no tooltip.
      if (!action->property("hasToolTip").toBool())
        toolBar_->widgetForAction(action)->installEventFilter(this);
    }
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

void MainWindow::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  // The message pane: "ﾚﾃﾞｨ" whenever no prompt is shown over it.
  readyPane_ = new QLabel(tr("ﾚﾃﾞｨ"), bar);
  bar->addWidget(readyPane_, 1);
  // The keyboard indicators, shown greyed: their key states are not read.
  for (const char* indicator :
       {QT_TR_NOOP("ｶﾅ"), QT_TR_NOOP("CAP"), QT_TR_NOOP("NUM"), QT_TR_NOOP("SCRL")}) {
    auto* pane = new QLabel(tr(indicator), bar);
    pane->setEnabled(false);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
    bar->addPermanentWidget(pane);
  }
}

void MainWindow::CreateMenus() {
  const AppActions& a = *actions_;
  fileMenu128_ = new QMenu(tr("ﾌｧｲﾙ(&F)"), this);
  fileMenu128_->addAction(a.fileNew);
  fileMenu128_->addAction(a.fileOpen);
  fileMenu128_->addSeparator();
  fileMenu128_->addAction(a.printSetup);
  fileMenu128_->addSeparator();
  fileMenu128_->addAction(a.recentPlaceholder);
  for (QAction* recent : a.recentFiles) fileMenu128_->addAction(recent);
  fileMenu128_->addSeparator();
  fileMenu128_->addAction(a.exit);

  viewMenu128_ = new QMenu(tr("表示(&V)"), this);
  viewMenu128_->addAction(a.toolBar);
  viewMenu128_->addAction(a.statusBar);
  helpMenu128_ = new QMenu(tr("ﾍﾙﾌﾟ(&H)"), this);
  helpMenu128_->addAction(a.guide);
  helpMenu128_->addAction(a.aboutNoView);

  // With a view: the documents, printing and the recent files first, the
  // view's keyed commands in the view menu.
  fileMenu129_ = new QMenu(tr("ﾌｧｲﾙ(&F)"), this);
  fileMenu129_->addActions({a.fileNew, a.fileOpen, a.fileSave});
  fileMenu129_->addSeparator();
  fileMenu129_->addActions({a.print, a.printPreview, a.printSetup});
  fileMenu129_->addSeparator();
  fileMenu129_->addAction(a.recentPlaceholder);
  for (QAction* recent : a.recentFiles) fileMenu129_->addAction(recent);
  fileMenu129_->addSeparator();
  fileMenu129_->addAction(a.exit);

  viewMenu129_ = new QMenu(tr("表示(&V)"), this);
  viewMenu129_->addActions({a.next, a.previous, a.today});
  viewMenu129_->addSeparator();
  viewMenu129_->addActions({a.zoomIn, a.zoomOut, a.redraw});
  viewMenu129_->addSeparator();
  viewMenu129_->addAction(a.toolBar);
  viewMenu129_->addAction(a.statusBar);
  viewMenu129_->addSeparator();
  viewMenu129_->addAction(a.predictions);
  viewMenu129_->addAction(a.graze);
  helpMenu129_ = new QMenu(tr("ﾍﾙﾌﾟ(&H)"), this);
  helpMenu129_->addAction(a.guide);
  helpMenu129_->addAction(a.about);

  // Shortcuts of actions that are in no menu shown at the moment still work.
  for (QAction* action : {a.fileNew, a.fileOpen, a.fileSave}) addAction(action);
  for (QAction* action : a.ViewActions()) addAction(action);
}

void MainWindow::UpdateMenus() {
  const bool viewOpen = !mdiArea_->subWindowList().isEmpty();
  for (QAction* action : actions_->ViewActions()) action->setEnabled(viewOpen);
  actions_->fileSave->setEnabled(viewOpen);
  UpdateCommandStates();
  if (viewOpen == showsViewMenus_ && !menuBar()->actions().isEmpty()) return;
  showsViewMenus_ = viewOpen;
  QMenuBar* bar = menuBar();
  bar->clear();
  if (viewOpen) {
    bar->addMenu(fileMenu129_);
    bar->addAction(actions_->date);
    bar->addAction(actions_->displayMode);
    bar->addAction(actions_->searchMode);
    bar->addMenu(viewMenu129_);
    bar->addMenu(helpMenu129_);
  } else {
    bar->addMenu(fileMenu128_);
    bar->addMenu(viewMenu128_);
    bar->addMenu(helpMenu128_);
  }
}

void MainWindow::UpdateCommandStates() {
  const AppActions& a = *actions_;
  const bool viewOpen = !mdiArea_->subWindowList().isEmpty();
  const QString zoomWhy = WhyZoomDoesNothing(state_);
  const QString previousWhy = WhyPreviousDoesNothing(state_);
  for (const auto& [action, why] : {std::pair{a.zoomIn, zoomWhy}, std::pair{a.zoomOut, zoomWhy},
                                    std::pair{a.previous, previousWhy}}) {
    // The prompt's own texts are kept the first time to come back to.
    if (!action->property("ownToolTip").isValid()) {
      action->setProperty("ownToolTip", action->toolTip());
      action->setProperty("ownStatusTip", action->statusTip());
    }
    action->setEnabled(viewOpen && why.isEmpty());
    action->setToolTip(why.isEmpty() ? action->property("ownToolTip").toString() : why);
    action->setStatusTip(why.isEmpty() ? action->property("ownStatusTip").toString() : why);
  }
}

void MainWindow::ConnectCommands() {
  const AppActions& a = *actions_;
  connect(a.fileNew, &QAction::triggered, this, [this] { NewDocument(); });
  connect(a.fileOpen, &QAction::triggered, this, &MainWindow::OnFileOpen);
  connect(a.fileSave, &QAction::triggered, this, &MainWindow::SaveDocument);
  connect(a.printSetup, &QAction::triggered, this, &MainWindow::OnPrintSetup);
  connect(a.exit, &QAction::triggered, this, &QWidget::close);
  connect(a.about, &QAction::triggered, this, &MainWindow::OnAbout);
  connect(a.guide, &QAction::triggered, this, [this] {
    // Not modal: it stays open beside the window while the user tries things.
    auto* guide = new UserGuideDialog(this);
    guide->setAttribute(Qt::WA_DeleteOnClose);
    guide->show();
  });
  connect(a.aboutNoView, &QAction::triggered, this, &MainWindow::OnAbout);
  for (int i = 0; i < kRecentFileCount; ++i)
    connect(a.recentFiles[i], &QAction::triggered, this, [this, i] {
      if (i < recentFiles_.size()) OpenDocument(recentFiles_[i]);
    });

  connect(a.toolBar, &QAction::toggled, toolBar_, &QToolBar::setVisible);
  connect(toolBar_, &QToolBar::visibilityChanged, a.toolBar, &QAction::setChecked);
  connect(a.statusBar, &QAction::toggled, statusBar(), &QStatusBar::setVisible);

  // The view's commands go to the view of the current child window.
  auto toView = [this](QAction* action, void (OccultationView::*command)()) {
    connect(action, &QAction::triggered, this, [this, command] {
      if (OccultationView* view = ActiveView()) (view->*command)();
    });
  };
  toView(a.date, &OccultationView::OnDate);
  toView(a.displayMode, &OccultationView::OnDisplayMode);
  toView(a.searchMode, &OccultationView::OnSearchMode);
  toView(a.next, &OccultationView::OnNext);
  toView(a.previous, &OccultationView::OnPrevious);
  toView(a.today, &OccultationView::OnToday);
  toView(a.redraw, &OccultationView::OnRedraw);
  toView(a.list, &OccultationView::OnList);
  toView(a.zoomIn, &OccultationView::OnZoomIn);
  toView(a.zoomOut, &OccultationView::OnZoomOut);
  toView(a.zoomReset, &OccultationView::OnZoomReset);
  toView(a.local, &OccultationView::OnLocal);
  toView(a.backToMap, &OccultationView::OnBackToMap);
  toView(a.sky, &OccultationView::OnSky);
  toView(a.limb, &OccultationView::OnLimb);
  connect(a.predictions, &QAction::triggered, this, &MainWindow::OnPredictions);
  connect(a.graze, &QAction::triggered, this, &MainWindow::OnGraze);
  auto printer = [this]() -> QPrinter& {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
  };
  connect(a.print, &QAction::triggered, this, [this, printer] {
    if (OccultationView* view = ActiveView()) view->OnFilePrint(printer());
  });
  connect(a.printPreview, &QAction::triggered, this, [this, printer] {
    if (OccultationView* view = ActiveView()) view->OnFilePrintPreview(printer());
  });
}

OccultationView* MainWindow::ActiveView() const {
  QMdiSubWindow* child = mdiArea_->currentSubWindow();
  if (!child) child = mdiArea_->activeSubWindow();
  return child ? static_cast<DocumentWindow*>(child)->View() : nullptr;
}

DocumentWindow* MainWindow::AddChild(const QString& title, const QString& path) {
  auto* view = new OccultationView(state_);
  auto* child = new DocumentWindow(view, title, path);
  mdiArea_->addSubWindow(child);
  connect(view, &OccultationView::StatusNote, this,
          [this](const QString& text) { statusBar()->showMessage(text, 5000); });
  connect(view, &OccultationView::Painted, this, [this] { UpdateCommandStates(); });
  connect(child, &QObject::destroyed, this, [this] {
    QMetaObject::invokeMethod(
        this, [this] { UpdateMenus(); }, Qt::QueuedConnection);
  });
  if (startTime_) {
    view->ReportFirstPaintSince(*startTime_);
    startTime_.reset();
  }
  child->showMaximized();
  mdiArea_->setActiveSubWindow(child);
  UpdateMenus();
  return child;
}

DocumentWindow* MainWindow::NewDocument() {
  return AddChild(DocumentWindow::UntitledTitle(++untitledCount_), {});
}

DocumentWindow* MainWindow::OpenDocument(const QString& path) {
  if (const QFileInfo info(path); !info.isFile()) {
    // A folder, a pipe or a device is there but is no document to read.
    const QString why = !info.exists() && !info.isSymLink() ? tr("%1 が見つかりません。")
                        : info.isDir()                     ? tr("%1 はフォルダです。文書ファイルを選んで下さい。")
                                                           : tr("%1 は通常のファイルではないので開けません。");
    QMessageBox::warning(this, MessageBoxTitle(), why.arg(info.fileName()));
    recentFiles_.removeAll(path);
    UpdateRecentFileActions();
    return nullptr;
  }
  QString why;
  if (!ReadDocumentFile(path, state_, why)) {
    QMessageBox::warning(this, MessageBoxTitle(),
                         tr("%1 はこのプログラムの文書ではないので開けません。\n%2")
                             .arg(QFileInfo(path).fileName(), why));
    return nullptr;
  }
  AddRecentFile(QFileInfo(path).absoluteFilePath());
  // The settings are the program's: every open view shows the document's.
  for (QMdiSubWindow* child : mdiArea_->subWindowList())
    static_cast<DocumentWindow*>(child)->View()->Repaint();
  return AddChild(QFileInfo(path).fileName(), path);
}

void MainWindow::OnFileOpen() {
  const QString path = QFileDialog::getOpenFileName(
      this, tr("開く"), QString(),
      tr("文書 (*.%1);;すべてのファイル (*)").arg(QLatin1String(kDocumentSuffix)));
  if (!path.isEmpty()) OpenDocument(path);
}

void MainWindow::SaveDocument() {
  auto* child = static_cast<DocumentWindow*>(mdiArea_->currentSubWindow());
  if (!child) return;
  QString path = child->Path();
  if (path.isEmpty()) {
    // The dialog asks before replacing a file and adds the suffix.
    QFileDialog dialog(this, tr("名前を付けて保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr("文書 (*.%1)").arg(QLatin1String(kDocumentSuffix)));
    dialog.setDefaultSuffix(QLatin1String(kDocumentSuffix));
    dialog.selectFile(child->windowTitle());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    path = dialog.selectedFiles().first();
  }
  SaveDocumentAs(child, path);
}

bool MainWindow::SaveDocumentAs(DocumentWindow* child, const QString& path) {
  if (!WriteDocumentFile(path, state_)) {
    QMessageBox::warning(this, MessageBoxTitle(), tr("%1 に保存できません。").arg(path));
    return false;
  }
  child->SetPath(path);
  AddRecentFile(child->Path());
  return true;
}

void MainWindow::OnAbout() {
  AboutDialog about(this);
  about.exec();
}

void MainWindow::OnPrintSetup() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPageSetupDialog dialog(printer_.get(), this);
  dialog.exec();
}

void MainWindow::LoadRecentFiles() {
  QSettings settings;
  settings.beginGroup(QString::fromLatin1(kRecentFileGroup));
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (!path.isEmpty()) recentFiles_ << path;
  }
  UpdateRecentFileActions();
}

void MainWindow::AddRecentFile(const QString& path) {
  recentFiles_.removeAll(path);
  recentFiles_.prepend(path);
  while (recentFiles_.size() > kRecentFileCount) recentFiles_.removeLast();
  QSettings settings;
  settings.beginGroup(QString::fromLatin1(kRecentFileGroup));
  for (int i = 0; i < kRecentFileCount; ++i) {
    const QString key = QStringLiteral("File%1").arg(i + 1);
    if (i < recentFiles_.size())
      settings.setValue(key, recentFiles_[i]);
    else
      settings.remove(key);
  }
  UpdateRecentFileActions();
}

void MainWindow::UpdateRecentFileActions() {
  const AppActions& a = *actions_;
  for (int i = 0; i < kRecentFileCount; ++i) {
    const bool used = i < recentFiles_.size();
    a.recentFiles[i]->setVisible(used);
    if (used)
      a.recentFiles[i]->setText(
          QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(recentFiles_[i]).fileName()));
  }
  // The greyed placeholder stands in while the list is empty.
  a.recentPlaceholder->setVisible(recentFiles_.isEmpty());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && qobject_cast<QToolButton*>(watched)) return true;
  return QMainWindow::eventFilter(watched, event);
}

PredictionsWindow* MainWindow::Predictions() const {
  return predictionsWindow_;
}

void MainWindow::OnPredictions() {
  OccultationView* view = ActiveView();
  if (!view) return;
  ProgramState& state = view->State();
  const ObserverSite& site = state.site;
  QString name = tr("観測地");
  if (site.cityIndex >= 1 && site.cityIndex <= state.cities.count)
    name = QString::fromStdString(state.cities.entries[site.cityIndex].name).trimmed();
  if (predictionsWindow_) predictionsWindow_->close();
  // Without a parent: a window of its own, which neither stays above this one
  // nor minimises with it.
  QSettings settings;
  predictionsWindow_ = new PredictionsWindow(state.dataDirectory, site, name, nullptr,
                                             RememberedObserverZone(settings, site));
  predictionsWindow_->setAttribute(Qt::WA_DeleteOnClose);
  // The zone chosen for this observer is the one it opens with next time.
  connect(predictionsWindow_, &PredictionsWindow::ZoneChosen, this,
          [site](const QString& zoneId) {
            QSettings kept;
            RememberObserverZone(kept, site, zoneId);
          });
  connect(predictionsWindow_, &PredictionsWindow::EventChosen, this,
          [this](const PredictedContact& contact, const ObserverSite& chosenSite,
                 const BesselianElements& record) {
            if (OccultationView* target = ActiveView())
              target->ShowPredictedEvent(contact, chosenSite, record);
            // The loaded event comes to the front.
            if (isMinimized()) showNormal();
            raise();
            activateWindow();
          });
  predictionsWindow_->show();
  predictionsWindow_->Compute();
}

void MainWindow::OnGraze() {
  OccultationView* view = ActiveView();
  if (!view) return;
  ProgramState& state = view->State();
  const BesselianElements& e = state.cursor.elements;
  if (IsPlanetNumber(e.xz) || e.year == 0) {
    statusBar()->showMessage(tr("接食計画は恒星の星蝕だけです"), 5000);
    return;
  }
  PredictedContact star;
  star.hip = e.hip;
  star.sao = e.sao;
  star.zc = e.zc;
  star.xz = e.xz;
  const std::string body = BodyLabel(star, StarNames::Shared(state.dataDirectory));
  auto* window = new GrazeWindow(e, RecordDeltaT(e, state.display.deltaTAdjust), state.site,
                                 body, this);
  window->SetLimbSource(state.dataDirectory, state.cursor.event);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  window->Compute();
}

}  // namespace vernier
