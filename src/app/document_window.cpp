#include "app/document_window.h"

#include <QFileInfo>

#include "app/occultation_view.h"

namespace vernier {

DocumentWindow::DocumentWindow(OccultationView* view, const QString& title, const QString& path,
                               QWidget* parent)
    : QMdiSubWindow(parent), view_(view) {
  // Caption, system menu, sizing frame, minimise and maximise boxes.
  setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose);
  auto* area = new QScrollArea;
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidget(view);
  setWidget(area);
  setWindowTitle(title);
  if (!path.isEmpty()) SetPath(path);
}

QString DocumentWindow::UntitledTitle(int number) {
  return QStringLiteral("Vernier%1").arg(number);
}

QScrollArea* DocumentWindow::ScrollArea() const {
  return static_cast<QScrollArea*>(widget());
}

void DocumentWindow::SetPath(const QString& path) {
  path_ = QFileInfo(path).absoluteFilePath();
  setWindowTitle(QFileInfo(path).fileName());
}

}  // namespace vernier
