// The about box: the program's name and version, its copyright, and two lines
// on what it is.
#pragma once

#include <QDialog>

namespace vernier {

// The program's version ("0.1.0").
QString ProgramVersion();

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

// The short user guide of the Help menu: how to choose an event, set the
// observer, search, read the displays and the predictions, and where the data
// and the settings are kept, in the reader's language.
class UserGuideDialog : public QDialog {
  Q_OBJECT

 public:
  explicit UserGuideDialog(QWidget* parent = nullptr);
  // The guide's text (HTML).
  static QString Text();
};

}  // namespace vernier
