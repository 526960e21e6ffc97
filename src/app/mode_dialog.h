// The search-mode dialog: which events "next" steps to (all, one type, seen
// at the site above a magnitude, or one XZ star), and the date the search
// starts from. The search by site and the past-search ranges are shown greyed.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "search/program_state.h"

namespace vernier {

class CModeDlg : public QDialog {
  Q_OBJECT

 public:
  // Filled from the settings and the current event. Choices in the lists and
  // the date set through the date button take effect at once: the type
  // chosen is kept in pendingTypeCode, the site in state.site.searchCityIndex,
  // the date in the current event's date.
  explicit CModeDlg(ProgramState& state, QWidget* parent = nullptr);

  // Applies the members read on OK to the settings.
  void WriteBack(ProgramState& state) const;

  // The members.
  int mode;             // 0 all, 1 one type, 2 site and magnitude, 3 one XZ star
  int pendingTypeCode;  // 1 partial, 2 central
  double typeRange;
  int source;
  double siteLon, siteLat, siteHeight;
  double minMagnitude;
  double siteRange;
  int xz;

  // Controls, by id.
  QRadioButton *mode1020, *mode1021, *mode1022, *mode1023;
  QComboBox* combo1037;
  QLineEdit* edit1034;
  QRadioButton *source1028, *source1029;
  QComboBox* combo1038;
  QLineEdit *edit1030, *edit1031, *edit1032, *edit1027, *edit1033;
  QLineEdit* edit1024;
  QPushButton* button1036;

 protected:
  void accept() override;

 private:
  void BuildControls();
  void FillControls();

  ProgramState& state_;
};

}  // namespace vernier
