// The MDI child window: one view of one document, opened maximised. The view
// sits in a scroll area: a window smaller than the drawing scrolls it. The
// window's title is the document's: "Vernier1", "Vernier2", … until it is
// saved, then its file's name.
#pragma once

#include <QMdiSubWindow>
#include <QScrollArea>

namespace vernier {

class OccultationView;

class DocumentWindow : public QMdiSubWindow {
 public:
  // Takes the view into its scroll area; the window is deleted when closed.
  // A document with an empty `path` has no file yet.
  DocumentWindow(OccultationView* view, const QString& title, const QString& path,
                 QWidget* parent = nullptr);

  // The title of the `number`th new document.
  static QString UntitledTitle(int number);

  OccultationView* View() const { return view_; }
  QScrollArea* ScrollArea() const;
  // The document's file (absolute); empty until it is saved or when new.
  const QString& Path() const { return path_; }
  // The document now lives in `path`: the window takes its name.
  void SetPath(const QString& path);

 private:
  OccultationView* view_;
  QString path_;
};

}  // namespace vernier
