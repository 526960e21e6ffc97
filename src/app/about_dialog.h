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

}  // namespace vernier
