// The MDI child window: one view of one document, opened maximised.
#pragma once

#include <QMdiSubWindow>

#include "app/document.h"

namespace vernier {

class CGnomonView;

class CChildFrame : public QMdiSubWindow {
 public:
  // Takes the view as its widget; the window is deleted when closed.
  CChildFrame(CGnomonView* view, CGnomonDoc document, QWidget* parent = nullptr);

  CGnomonView* View() const;
  CGnomonDoc& Document() { return document_; }
  // Shows the document's title as the window's.
  void UpdateTitle();

 private:
  CGnomonDoc document_;
};

}  // namespace vernier
