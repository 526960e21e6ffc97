#include "app/child_frame.h"

#include "app/view.h"

namespace vernier {

CChildFrame::CChildFrame(CGnomonView* view, CGnomonDoc document, QWidget* parent)
    : QMdiSubWindow(parent), document_(std::move(document)) {
  // Caption, system menu, sizing frame, minimise and maximise boxes.
  setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose);
  setWidget(view);
  UpdateTitle();
}

CGnomonView* CChildFrame::View() const {
  return static_cast<CGnomonView*>(widget());
}

void CChildFrame::UpdateTitle() {
  setWindowTitle(document_.Title());
}

}  // namespace vernier
