// The search-mode dialog: which events "next" steps to (all, one type, seen
// at the site above a magnitude, or one XZ star), and the date the search
// starts from. The search by site and the past-search ranges are shown greyed.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/observer_editor.h"
#include "program/program_state.h"

namespace vernier {

class SearchModeDialog : public QDialog {
  Q_OBJECT

 public:
  // Filled from the settings and the current event. Choices in the lists and
  // the date set through the date button take effect at once: the type
  // chosen is kept in pendingTypeCode, the site in state.site.searchCityIndex,
  // the date in the current event's date.
  explicit SearchModeDialog(ProgramState& state, QWidget* parent = nullptr);

  // Applies the members read on OK to the settings.
  void WriteBack(ProgramState& state) const;

  // The members.
  SearchMode mode;      // the radio buttons in the enumeration's order
  int pendingTypeCode;  // 1 partial, 2 central
  double typeRange;
  ObserverEntry site;
  double minMagnitude;
  double siteRange;
  int xz;

  // Controls.
  QRadioButton *allEventsRadio, *typeRadio, *siteMagnitudeRadio, *xzStarRadio;
  QComboBox* typeCombo;
  QLineEdit* typeRangeEdit;
  ObserverEditor* observer;
  QLineEdit *magnitudeEdit, *siteRangeEdit;
  QLineEdit* xzEdit;
  QPushButton* startDateButton;

 protected:
  void accept() override;

 private:
  void BuildControls();
  void FillControls();

  ProgramState& state_;
};

}  // namespace vernier
