// The date dialog: year, month and day of the current date.
#pragma once

#include <QDialog>
#include <QLineEdit>

#include "program/program_state.h"

namespace vernier {

class DateDialog : public QDialog {
  Q_OBJECT

 public:
  // Pre-filled with the given date.
  DateDialog(int year, int month, int day, QWidget* parent = nullptr);

  // The members; on OK they hold the values read from the controls.
  int year, month, day;

  QLineEdit* yearEdit;
  QLineEdit* monthEdit;
  QLineEdit* dayEdit;

 protected:
  // Reads the controls; a refused value keeps the dialog open.
  void accept() override;
};

// The dialog pre-filled with the current date (its whole year, month and
// day); on OK the current date takes the dialog's values. Returns true on OK.
bool EditCurrentDate(ProgramState& state, QWidget* parent);

}  // namespace vernier
