#include "app/child_frame.h"

#include "app/view.h"

namespace vernier {

CChildFrame::CChildFrame(CGnomonView* view, CGnomonDoc document, QWidget* parent)
    : QMdiSubWindow(parent), view_(view), document_(std::move(document)) {
  // Caption, system menu, sizing frame, minimise and maximise boxes.
  setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose);
  auto* area = new QScrollArea;
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidget(view);
  setWidget(area);
  UpdateTitle();
}

QScrollArea* CChildFrame::ScrollArea() const {
  return static_cast<QScrollArea*>(widget());
}

void CChildFrame::UpdateTitle() {
  setWindowTitle(document_.Title());
}

}  // namespace vernier
