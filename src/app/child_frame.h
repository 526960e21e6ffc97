// The MDI child window: one view of one document, opened maximised. The view
// sits in a scroll area: a window smaller than the drawing scrolls it.
#pragma once

#include <QMdiSubWindow>
#include <QScrollArea>

#include "app/document.h"

namespace vernier {

class CGnomonView;

class CChildFrame : public QMdiSubWindow {
 public:
  // Takes the view into its scroll area; the window is deleted when closed.
  CChildFrame(CGnomonView* view, CGnomonDoc document, QWidget* parent = nullptr);

  CGnomonView* View() const { return view_; }
  QScrollArea* ScrollArea() const;
  CGnomonDoc& Document() { return document_; }
  // Shows the document's title as the window's.
  void UpdateTitle();

 private:
  CGnomonView* view_;
  CGnomonDoc document_;
};

}  // namespace vernier
